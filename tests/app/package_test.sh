#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a built Debian package without installing it. The control fields must name the libraries
# the player opens at run time; and the packaged player, unpacked into a temporary root and
# started offscreen with a MIDI file, must load the packaged synthesizer module: the module lies
# where the player looks, and its libraries resolve.
#   package_test.sh <tobira_*.deb>
set -euo pipefail
deb=$(realpath "$1")
work=$(mktemp -d)
pid=
cleanup() {
  [[ -z "$pid" ]] || kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

depends=$(dpkg-deb --field "$deb" Depends)
recommends=$(dpkg-deb --field "$deb" Recommends)
# The player is silent without SDL2 and has no MIDI without FluidSynth; the module links the
# latter, so dpkg-shlibdeps must have found it.
for wanted in libsdl2-2.0-0 libfluidsynth3 libqt6widgets6 libcdio19; do
  [[ "$depends" == *"$wanted"* ]] || fail "Depends lacks $wanted: $depends"
done
[[ "$recommends" == *fluid-soundfont-gm* ]] || fail "Recommends names no GM SoundFont: $recommends"

root=$work/root
dpkg-deb --extract "$deb" "$root"
test -x "$root/usr/bin/tobira" || fail "no player in usr/bin"
test -s "$root/usr/share/doc/tobira/copyright" || fail "no copyright file"

# A one-note format 0 song.
song=$work/song.mid
printf '\x4d\x54\x68\x64\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60' >"$song"
printf '\x4d\x54\x72\x6b\x00\x00\x00\x0c\x00\x90\x3c\x64\x60\x80\x3c\x40\x00\xff\x2f\x00' >>"$song"

mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
log=$work/ld.log
# A bus address that answers nowhere: without one the bus library may reach the desktop's own
# session bus through the display, and hand the song to a player already running there.
env -u TOBIRA_HOME -u TOBIRA_MODULE_DIR -u TOBIRA_CDDEVICE -u XDG_DATA_HOME \
  DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
  LD_DEBUG=files LD_DEBUG_OUTPUT="$log" "$root/usr/bin/tobira" "$song" >"$work/out.txt" 2>&1 &
pid=$!
# The loader calls a library's initialisers only once all its libraries and symbols resolved.
module="calling init: $root/usr/lib/[^ ]*/tobira/tobira-fluidsynth.so"
for _ in $(seq 1 60); do
  grep -qs -- "$module" "$log".* && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/out.txt"; fail "the packaged player ended early"; }
  sleep 0.5
done
grep -qs -- "$module" "$log".* || fail "the packaged player did not load its packaged module"
echo "package test passed"
