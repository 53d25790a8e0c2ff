#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-program soak: the player plays the demo disc in endless mode under a virtual display for
# the given minutes (default 30) and its anonymous memory (RssAnon) must stay within 1 MB of
# what it was after the first minute. Prints one sample a minute.
#   bench/soak_program.sh [minutes] [build folder]
# SOAK_WRAPPER="heaptrack -o /tmp/x" runs the program under a wrapper (the samples then belong to
# the wrapper's child, the player).
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-30}
build=${2:-build}
limit_kb=1024

home=$(mktemp -d)
pid=""
# The player first: xvfb-run stops its server, not the program it started.
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$home"' EXIT
"$build/src/tobira-demo-disc" "$home/disc" >/dev/null
# Play on insertion, endless (yellow one-way panel), CD mode at start.
printf '[BASICDATA]\r\nAUTOPLAYS=1\r\nPOWERCOLR=clYellow\r\nMIDISTART=0\r\n' >"$home/TOBIRA.INI"

export TOBIRA_HOME=$home TOBIRA_CDDEVICE=$home/disc/tobira-demo.cue
export SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$home/runtime
# A bus that answers nowhere, never the desktop's own session bus.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$home/no-bus
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# shellcheck disable=SC2086
xvfb-run -a ${SOAK_WRAPPER:-} "$PWD/$build/src/tobira" >"$home/out.log" 2>&1 &
xvfb_pid=$!

# The player this script started: a descendant of its xvfb-run running our executable, never
# another player that happens to run the same build.
player_exe=$(readlink -f "$build/src/tobira")
descendants() {
  local child
  for child in $(pgrep -P "$1" || true); do
    echo "$child"
    descendants "$child"
  done
}
player_pid() {
  local p
  for p in $(descendants "$xvfb_pid"); do
    if [[ $(readlink -f "/proc/$p/exe" 2>/dev/null) == "$player_exe" ]]; then
      echo "$p"
      return
    fi
  done
}
anon_kb() {
  awk '/^RssAnon:/ {print $2}' "/proc/$1/status"
}

for _ in $(seq 1 50); do
  pid=$(player_pid)
  [[ -n $pid ]] && break
  sleep 0.2
done
if [[ -z $pid ]]; then
  echo "the player did not start"
  cat "$home/out.log"
  exit 1
fi

sleep 60
first=$(anon_kb "$pid")
echo "minute 1: RssAnon $first kB"
for m in $(seq 2 "$minutes"); do
  sleep 60
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "the player ended early"
    cat "$home/out.log"
    exit 1
  fi
  now=$(anon_kb "$pid")
  echo "minute $m: RssAnon $now kB ($((now - first)) kB since minute 1)"
done
last=$(anon_kb "$pid")
kill -TERM "$pid"
wait "$xvfb_pid" || true
growth=$((last - first))
echo "growth over $((minutes - 1)) minutes: $growth kB (limit $limit_kb kB)"
[[ $growth -le $limit_kb ]]
