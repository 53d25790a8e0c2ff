#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Memory the running player gives back after MIDI: starts it on the demo disc under a virtual
# display with a session bus of its own, reads its RSS in CD mode, hands it ten songs as a file
# manager's "open with" does (it switches to MIDI mode and plays them), switches back to CD mode
# with a right click on BAK once they have played, and reads RSS again. The ten songs are dense
# and each plays other instruments and drum notes (bench_song dense-1 ... dense-10), so that they
# load about as many SoundFont samples as ten real songs do; SONGS="a.mid b.mid ..." hands
# these files instead.
#   bench/midi_return_rss.sh [runs, default 3] [build dir, default build]
# Needs xvfb-run, xdotool and dbus-run-session. Build first:
#   cmake --build build --target tobira tobira-demo-disc tobira_fluidsynth bench_song
set -euo pipefail
runs=${1:-3}
build=$(realpath "${2:-build}")
if [[ -z ${TOBIRA_RSS_INNER:-} ]]; then
  export TOBIRA_RSS_INNER=1
  exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$runs" "$build"
fi

work=$(mktemp -d)
pid=""
trap 'if [[ -n $pid ]]; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
cue=$("$build/src/tobira-demo-disc" "$work/disc")
songs=()
if [[ -n ${SONGS:-} ]]; then
  read -r -a songs <<<"$SONGS"
else
  for n in $(seq 10); do
    "$build/bench/bench_song" "$work/song$n.mid" 4 "dense-$n"
    songs+=("$work/song$n.mid")
  done
fi
export TOBIRA_CDDEVICE="$cue" SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
status_mb() { awk -v k="$2:" '$1 == k { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

for run in $(seq "$runs"); do
  export TOBIRA_HOME="$work/home$run"
  mkdir -p "$TOBIRA_HOME"
  "$build/src/tobira" >"$work/out$run.log" 2>&1 &
  pid=$!
  win=$(xdotool search --sync --onlyvisible --class tobira | head -1)
  sleep 4
  before=$(status_mb "$pid" VmRSS)
  before_anon=$(status_mb "$pid" RssAnon)
  # A second start hands the files to the running player and ends.
  "$build/src/tobira" "${songs[@]}" >/dev/null 2>&1 || true
  sleep 20
  playing=$(status_mb "$pid" VmRSS) # proof that the songs play: the SoundFont is in
  sleep 40 # the rest of ten songs of four seconds, with their loading and tails
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool windowraise "$win" mousemove $((X + 19)) $((Y + 56)) click 3 # BAK, right: CD mode
  sleep 4
  after=$(status_mb "$pid" VmRSS)
  after_anon=$(status_mb "$pid" RssAnon)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
  awk -v b="$before" -v p="$playing" -v a="$after" -v ba="$before_anon" -v aa="$after_anon" 'BEGIN {
    printf "RSS in CD mode %.1f MB before, %.1f MB while MIDI plays, %.1f MB back in CD mode after ten songs (%+.1f MB; anonymous %+.1f MB)\n",
           b, p, a, a - b, aa - ba }'
done
