#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How the player answers a desktop's sound menu, as a listener hears it. A private sound server
# with a null sink, a private session bus and a virtual display; the player plays a disc image of
# a known sound (noise whose every few milliseconds can be told apart) and a dense MIDI song, and
# is called through MPRIS: pause, resume, Volume 0.5 and 1.0, pause, Play, Stop, Play. The sink's
# monitor, recorded with parec, is compared with the sound the player was given (for MIDI the song
# rendered offline through the player's own synthesizer and mixer, build/bench/output_reference).
# Audacious, when installed, plays the same sound (the disc's WAV, the song's rendering) beside it.
#
# Prints for each player and medium the medians in ms: each call's reply time (.reply); after a
# pause or stop, the time until the monitor is silent (.silent_after); after a resume or Play,
# until sound comes (.sound_after) and the music skipped (+) or heard twice (-) across the pause
# (.skip); after a volume change, until the level changes (.heard_after), the music skipped or
# heard twice (.skip) and the silence in between (.gap). Times are placed on the sound server's
# clock to within its 5 ms fragment.
#   bench/output_response.sh [runs, default 3] [build dir, default build]
# SERVER=pipewire measures on PipeWire (pipewire, wireplumber, pipewire-pulse) instead of
# PulseAudio. PLAYERS="tobira audacious" chooses the players. KEEP=1 keeps the recordings
# (analyse one again with OUTPUT_RESPONSE_DESCRIBE=1 build/bench/output_response analyze ...).
# Bench only, not needed by the program: pulseaudio pulseaudio-utils (or pipewire pipewire-pulse
# wireplumber pulseaudio-utils), dbus, xvfb; audacious audacious-plugins for the comparison.
# Build first: cmake --build build --target tobira tobira_fluidsynth bench
set -euo pipefail
runs=${1:-3}
build=$(realpath "${2:-build}")
server=${SERVER:-pulseaudio}
song_seconds=60
case $server in
  pulseaudio) needed=(pulseaudio parec pactl dbus-daemon Xvfb) ;;
  pipewire) needed=(pipewire wireplumber pipewire-pulse parec pactl dbus-daemon Xvfb) ;;
  *)
    echo "SERVER is pulseaudio or pipewire" >&2
    exit 2
    ;;
esac
for tool in "${needed[@]}"; do
  command -v "$tool" >/dev/null || {
    echo "$tool is missing (see the head of $0)" >&2
    exit 1
  }
done
for exe in src/tobira bench/bench_song bench/output_reference bench/output_response; do
  [[ -x $build/$exe ]] || {
    echo "$build/$exe is not built" >&2
    exit 1
  }
done
players=${PLAYERS:-tobira$(command -v audacious >/dev/null && echo " audacious")}

work=$(mktemp -d)
daemons=() # started here, stopped in reverse order
client=""
stop_pid() {
  kill "$1" 2>/dev/null || return 0
  for _ in $(seq 100); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
cleanup() {
  [[ -n $client ]] && stop_pid "$client"
  for ((i = ${#daemons[@]} - 1; i >= 0; i--)); do stop_pid "${daemons[i]}"; done
  if [[ -n ${KEEP:-} ]]; then echo "recordings kept in $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT

export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/.config"
unset PULSE_SERVER PULSE_SINK
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

dbus-daemon --session --address="unix:path=$work/bus" --nofork --nopidfile >"$work/dbus.log" 2>&1 &
daemons+=($!)
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
daemons+=($!)

if [[ $server == pulseaudio ]]; then
  cat >"$work/pa.pa" <<'EOF'
load-module module-null-sink sink_name=nul rate=44100 channels=2 format=float32le
load-module module-native-protocol-unix
set-default-sink nul
EOF
  pulseaudio -n -F "$work/pa.pa" --daemonize=no --exit-idle-time=-1 \
    --log-target=file:"$work/server.log" &
  daemons+=($!)
else
  # The graph at the CD rate, so that nothing is resampled on the way to the monitor.
  mkdir -p "$XDG_CONFIG_HOME/pipewire/pipewire.conf.d"
  echo 'context.properties = { default.clock.rate = 44100 }' \
    >"$XDG_CONFIG_HOME/pipewire/pipewire.conf.d/rate.conf"
  pipewire >"$work/server.log" 2>&1 &
  daemons+=($!)
  sleep 1
  wireplumber >"$work/wireplumber.log" 2>&1 &
  daemons+=($!)
  pipewire-pulse >"$work/pipewire-pulse.log" 2>&1 &
  daemons+=($!)
fi
for _ in $(seq 50); do
  pactl info >/dev/null 2>&1 && [[ -s $work/display ]] && break
  sleep 0.2
done
pactl info >/dev/null 2>&1 || {
  echo "the private $server did not start:" >&2
  cat "$work/server.log" >&2
  exit 1
}
if [[ $server == pipewire ]]; then
  pactl load-module module-null-sink sink_name=nul rate=44100 channels=2 format=float32le >/dev/null
  pactl set-default-sink nul
fi
export DISPLAY=":$(cat "$work/display")"

# The sound the players are given, and what it should sound like.
"$build/bench/output_reference" cd "$work/disc" $((song_seconds + 5)) >/dev/null
"$build/bench/bench_song" "$work/song.mid" "$song_seconds" dense
"$build/bench/output_reference" midi "$work/song.mid" "$work/song.wav" $((song_seconds + 2)) >/dev/null

# start PLAYER MEDIUM: the player playing the medium, as $client.
start() {
  local player=$1 medium=$2 home
  home=$(mktemp -d "$work/$player-$medium-XXXX")
  if [[ $player == tobira ]]; then
    # Full volume is the mixer's unity gain (range 1), as the offline rendering has it; the
    # song is not preceded by a reset song, which the rendering does not play.
    local autoplay=0 args=("$work/song.mid")
    if [[ $medium == cd ]]; then
      autoplay=1
      args=()
    fi
    printf '[BASICDATA]\r\nAUTOPLAYS=%s\r\nPOWERCOLR=clYellow\r\nMIDISTART=0\r\nVOLUMEPOS=10\r\nVOLUMRATO=1\r\nVOLUMRATI=1\r\nMIDIRESET=0\r\n' \
      "$autoplay" >"$home/TOBIRA.INI"
    TOBIRA_HOME="$home" TOBIRA_CDDEVICE="$work/disc/reference.cue" \
      "$build/src/tobira" "${args[@]}" >"$home/out.log" 2>&1 &
  else
    local wav="$work/disc/reference.wav"
    [[ $medium == midi ]] && wav="$work/song.wav"
    XDG_CONFIG_HOME="$home" audacious -H "$wav" >"$home/out.log" 2>&1 &
  fi
  client=$!
}

reference() { if [[ $1 == cd ]]; then echo "$work/disc/reference.wav"; else echo "$work/song.wav"; fi; }

for run in $(seq "$runs"); do
  for medium in cd midi; do
    for player in $players; do
      rec="$work/run$run-$player-$medium"
      mkdir -p "$rec"
      start "$player" "$medium"
      if "$build/bench/output_response" record "$player" nul.monitor "$rec"; then
        "$build/bench/output_response" analyze "$(reference "$medium")" "$rec" |
          sed "s|^|$player/$medium |" >"$rec/figures"
        echo "run $run $player/$medium: $(awk '{ printf "%s %s  ", $2, $3 }' "$rec/figures")"
        cat "$rec/figures" >>"$work/results"
      fi
      stop_pid "$client"
      client=""
    done
  done
done

[[ -s $work/results ]] || {
  echo "no run was measured" >&2
  exit 1
}
echo
echo "medians of $runs runs on $server, ms (skip: + music missing, - heard twice):"
awk '
  { key = $1 SUBSEP $2; n[key]++; v[key, n[key]] = $3
    if (!($1 in col)) { col[$1] = ++ncol; cols[ncol] = $1 }
    if (!($2 in row)) { row[$2] = ++nrow; rows[nrow] = $2 } }
  function median(key,   m, i, j, t, a) {
    m = 0
    for (i = 1; i <= n[key]; i++) if (v[key, i] != "nan") a[++m] = v[key, i] + 0
    if (m == 0) return "-"
    for (i = 2; i <= m; i++) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t }
    return sprintf("%.1f", m % 2 ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2)
  }
  END {
    printf "%-22s", ""; for (c = 1; c <= ncol; c++) printf "%16s", cols[c]; print ""
    for (r = 1; r <= nrow; r++) {
      printf "%-22s", rows[r]
      for (c = 1; c <= ncol; c++) printf "%16s", ((cols[c] SUBSEP rows[r]) in n) ? median(cols[c] SUBSEP rows[r]) : "-"
      print ""
    }
  }' "$work/results"
