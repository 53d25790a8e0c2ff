#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A dense MIDI file as a user meets it: starts the player on the demo disc under a virtual
# display with a session bus of its own, hands it one dense song (note pairs all at one instant,
# 1, 6 and 63 MB by default) as a file manager's "open with" does, asks it for PlaybackStatus
# over MPRIS every 50 ms for a while and keeps the slowest answer, reads its peak RSS, then
# sends TERM and times its end. Each call is timed with the dbus-send that makes it; the same
# is done with a call the bus itself answers, to show what a loaded machine adds.
#   bench/dense_midi.sh [megabytes…]   (build dir: $BUILD, default build)
# Needs xvfb-run and dbus-run-session. Build first:
#   cmake --build build --target tobira tobira-demo-disc tobira_fluidsynth dense_song
set -euo pipefail
build=$(realpath "${BUILD:-build}")
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1 6 63)
if [[ -z ${TOBIRA_DENSE_INNER:-} ]]; then
  export TOBIRA_DENSE_INNER=1
  exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "${sizes[@]}"
fi

work=$(mktemp -d)
pid=""
trap 'if [[ -n $pid ]]; then kill -9 "$pid" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
cue=$("$build/src/tobira-demo-disc" "$work/disc")
export TOBIRA_CDDEVICE="$cue" SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
status_mb() { awk -v k="$2:" '$1 == k { printf "%.0f", $2 / 1024 }' "/proc/$1/status"; }
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
status() {
  dbus-send --session --print-reply --reply-timeout=30000 --dest=org.mpris.MediaPlayer2.tobira \
    /org/mpris/MediaPlayer2 org.freedesktop.DBus.Properties.Get \
    string:org.mpris.MediaPlayer2.Player string:PlaybackStatus 2>/dev/null |
    awk -F'"' '/string/ { print $2 }'
}

bus_id() { dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetId >/dev/null; }
summary() { sort -n | awk '{ v[NR] = $1 } END { printf "median %d max %d ms", v[int((NR + 1) / 2)], v[NR] }'; }

for mb in "${sizes[@]}"; do
  "$build/bench/dense_song" "$work/dense$mb.mid" "$mb" 30
  export TOBIRA_HOME="$work/home$mb"
  mkdir -p "$TOBIRA_HOME"
  t0=$(now_ms)
  "$build/src/tobira" "$work/dense$mb.mid" >"$work/out$mb.log" 2>&1 &
  pid=$!
  until [[ -n $(status) ]]; do sleep 0.05; done
  : >"$work/player.ms"
  : >"$work/bus.ms"
  playing=0
  end=$(($(now_ms) + ${DENSE_SECONDS:-10} * 1000))
  while (($(now_ms) < end)); do
    a=$(now_ms)
    s=$(status)
    b=$(now_ms)
    bus_id
    c=$(now_ms)
    echo $((b - a)) >>"$work/player.ms"
    echo $((c - b)) >>"$work/bus.ms"
    [[ -n ${DENSE_TRACE:-} ]] && echo "$((a - t0)) $((b - a)) $((c - b)) $s" >&2
    [[ $s == Playing ]] && playing=1
    sleep 0.05
  done
  peak=$(status_mb "$pid" VmHWM)
  rss=$(status_mb "$pid" VmRSS)
  a=$(now_ms)
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
  b=$(now_ms)
  pid=""
  echo "$(stat -c %s "$work/dense$mb.mid" | awk "{ printf \"%.1f\", \$1 / 1048576 }") MB file: MPRIS answers $(summary <"$work/player.ms")" \
    "(the bus's own: $(summary <"$work/bus.ms"); playing seen: $playing), RSS ${rss} MB, peak ${peak} MB, TERM to end $((b - a)) ms"
  rm -f "$work/dense$mb.mid"
done
