#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's answer and the player's memory when live mode starts a song with a very long
# applause: the player on the demo disc under a virtual display with a session bus of its own,
# live mode on and one applause WAV of the given size (44.1 kHz 16-bit stereo: 250 MB is 24
# minutes) as the program folder's only sound. Asked over MPRIS to play while asked for its
# status every 20 ms; prints the slowest status answer in the second before Play and in the five
# seconds after it (each answer includes starting dbus-send, a few ms), the Play call's own
# answer, the process's peak RSS, how much it had read by then (the disc image included), and
# whether the applause was playing.
#   bench/applause_start.sh [runs, default 3] [build dir, default build] [MB, default 250]
# Needs xvfb-run, dbus-run-session and dbus-send. Build first:
#   cmake --build build --target tobira tobira-demo-disc tobira-fluidsynth
set -euo pipefail
runs=${1:-3}
build=$(realpath "${2:-build}")
megabytes=${3:-250}
if [[ -z ${TOBIRA_APPLAUSE_INNER:-} ]]; then
  export TOBIRA_APPLAUSE_INNER=1
  exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$runs" "$build" "$megabytes"
fi

work=$(mktemp -d)
pid=""
pinger=""
trap 'for p in $pinger $pid; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT
cue=$("$build/src/tobira-demo-disc" "$work/disc")

le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
data=$((megabytes * 1024 * 1024 - 44))
data=$((data - data % 4))
wav="$work/BIG.WAV"
{
  printf 'RIFF'; printf "$(le32 $((data + 36)))"; printf 'WAVEfmt '
  printf "$(le32 16)"; printf '\x01\x00\x02\x00'; printf "$(le32 44100)"; printf "$(le32 176400)"
  printf '\x04\x00\x10\x00data'; printf "$(le32 "$data")"
  # Quiet noise: any sample values do.
  head -c "$data" /dev/urandom | tr '\000-\377' '\000-\017'
} >"$wav"

export TOBIRA_CDDEVICE="$cue" SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
service=org.mpris.MediaPlayer2.tobira
ms() { echo $(($(date +%s%N) / 1000000)); }
ask() {
  dbus-send --print-reply --reply-timeout=60000 --dest=$service /org/mpris/MediaPlayer2 "$@" >/dev/null
}
status_mb() { awk -v k="$2:" '$1 == k { printf "%.0f", $2 / 1024 }' "/proc/$1/status"; }

for run in $(seq "$runs"); do
  export TOBIRA_HOME="$work/home$run"
  mkdir -p "$TOBIRA_HOME"
  printf '[BASICDATA]\r\nLIVESTATS=1\r\n' >"$TOBIRA_HOME/TOBIRA.INI"
  ln "$wav" "$TOBIRA_HOME/BIG.WAV"
  "$build/src/tobira" >"$work/out$run.log" 2>&1 &
  pid=$!
  until ask org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player \
    string:PlaybackStatus 2>/dev/null; do sleep 0.1; done
  sleep 2 # the disc is read
  : >"$work/pings"
  (
    while :; do
      start=$(ms)
      ask org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player \
        string:PlaybackStatus
      echo "$start $(($(ms) - start))" >>"$work/pings"
      sleep 0.02
    done
  ) &
  pinger=$!
  sleep 1
  play=$(ms)
  ask org.mpris.MediaPlayer2.Player.Play
  played=$(($(ms) - play))
  sleep 5
  kill "$pinger"
  wait "$pinger" 2>/dev/null || true
  pinger=""
  peak=$(status_mb "$pid" VmHWM)
  # The wave player holds the applause open while it plays.
  applause=no
  for fd in /proc/"$pid"/fd/*; do
    [[ $(readlink "$fd") == "$TOBIRA_HOME/BIG.WAV" ]] && applause=yes
  done
  read_mb=$(awk '$1 == "rchar:" { printf "%.1f", $2 / 1048576 }' "/proc/$pid/io")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=""
  awk -v play="$play" -v played="$played" -v peak="$peak" -v readmb="$read_mb" -v applause="$applause" '
    $1 < play { if ($2 > before) before = $2 }
    $1 >= play { if ($2 > after) after = $2; n++ }
    END { printf "slowest status answer %d ms before Play, %d ms in the 5 s after (%d answers); Play answered in %d ms; peak RSS %d MB; %s MB read; applause playing: %s\n",
                 before, after, n, played, peak, readmb, applause }' "$work/pings"
done
