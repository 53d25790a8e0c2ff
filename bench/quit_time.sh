#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How long the player takes to end after its POW button is clicked: starts it under Xvfb on the
# demo disc (sound to SDL's dummy driver unless a sound card answers), clicks POW, and times the
# release of the button to the reaped process.
# Usage: bench/quit_time.sh [runs] [build dir]   (needs xvfb-run, xdotool)
#   QUIT_WHILE_PLAYING=1  press PLAY (the CD) a second before POW
#   QUIT_IN_MIDI=1        enter MIDI mode QUIT_IN_MIDI_AFTER seconds (default 3) before POW
set -euo pipefail
runs=${1:-7}
build=$(realpath "${2:-build}")
exe="$build/src/tobira"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/src/tobira-demo-disc" "$work/disc" >/dev/null
export TOBIRA_CDDEVICE="$work/disc/tobira-demo.cue" TOBIRA_HOME="$work/home"
export XDG_RUNTIME_DIR="$work"
mkdir -p "$work/home"

one_run() {
    "$exe" >/dev/null 2>&1 &
    local pid=$!
    local win
    win=$(xdotool search --sync --onlyvisible --class tobira | head -1)
    sleep 1.5 # let the disc be read and the player settle
    eval "$(xdotool getwindowgeometry --shell "$win")"
    if [ "${QUIT_IN_MIDI:-0}" = 1 ]; then
        xdotool mousemove $((X + 19)) $((Y + 56)) click 3 # right-click on BAK: MIDI mode
        sleep "${QUIT_IN_MIDI_AFTER:-3}"
        xdotool windowraise "$win"
    fi
    if [ "${QUIT_WHILE_PLAYING:-0}" = 1 ]; then
        xdotool mousemove $((X + 50)) $((Y + 56)) click 1 # PLAY
        sleep 1
        xdotool windowraise "$win" # above the track control window that PLAY may open
    fi
    xdotool mousemove $((X + 266)) $((Y + 10))
    local t0 t1
    # From just before the button's release is sent (the button acts on release) to the reaped
    # process. The start of the xdotool that sends the release is included: an upper bound.
    xdotool mousedown 1
    sleep 0.2
    t0=$EPOCHREALTIME # read by the shell itself: no process to start
    xdotool mouseup 1
    wait "$pid" || true
    t1=$EPOCHREALTIME
    echo $(((${t1/./} - ${t0/./}) / 1000))
}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a "$0" "$runs" "$build"
fi
for i in $(seq "$runs"); do one_run; done | sort -n | awk '
    { v[NR] = $1 } END { printf "quit ms: min %d median %d max %d (%d runs)\n", v[1], v[int((NR + 1) / 2)], v[NR], NR }'
