#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start to mapped main window: the player against a bare Qt 6 window of the same size with one
# label, started in turn under a virtual display, in a fresh program folder, without sound.
#   bench/start_time.sh [runs] [player] [build dir]   (defaults: 30, <build>/src/tobira, build)
# Measures what is built; it builds nothing. Build first:
#   cmake --build build --target start_side_by_side bare_qt_window tobira
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-30}
build=${3:-build}
player=${2:-$build/src/tobira}
for exe in "$build/bench/start_side_by_side" "$build/bench/bare_qt_window" "$player"; do
  if [[ ! -x $exe ]]; then
    echo "$exe is not built: cmake --build $build --target start_side_by_side bare_qt_window tobira" >&2
    exit 1
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export TOBIRA_HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=dummy
# Without a session bus, Qt forks dbus-launch in every start (both programs alike) and the
# figures measure that search instead of the programs. A desktop has a bus; here none answers.
export DBUS_SESSION_BUS_ADDRESS=${DBUS_SESSION_BUS_ADDRESS:-unix:path=$work/no-bus}
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/bench/start_side_by_side" "$runs" 282 68 "$player" "$build/bench/bare_qt_window"
