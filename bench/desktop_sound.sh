#!/usr/bin/env bash
# The player on a desktop's sound server: a private PulseAudio daemon with a null sink, in a
# HOME and XDG_RUNTIME_DIR of its own, and the player playing a MIDI song and the demo disc
# through it, each for the given seconds, beside paplay of the demo disc's PCM as the floor.
# Runs are interleaved (MIDI, CD, paplay, MIDI, ...). Prints each run and the medians: CPU
# seconds per minute of music of the process and of the sound server, and how often a second
# the process's audio thread wakes.
#   bench/desktop_sound.sh [runs, default 3] [seconds, default 60] [build dir, default build]
# Bench only, not needed by the program: pulseaudio and pulseaudio-utils
#   (apt-get install pulseaudio pulseaudio-utils).
# Build first: cmake --build build --target tobira tobira-demo-disc tobira-fluidsynth bench_song
# DRIVERS="pulseaudio alsa" runs the player on each of these SDL drivers (default: SDL's choice).
set -euo pipefail
runs=${1:-3}
seconds=${2:-60}
build=$(realpath "${3:-build}")
settle=6 # seconds from the start to the measure: the window, the disc, the SoundFont
for tool in pulseaudio pactl paplay; do
  command -v "$tool" >/dev/null || {
    echo "$tool is missing: apt-get install pulseaudio pulseaudio-utils" >&2
    exit 1
  }
done
for exe in src/tobira src/tobira-demo-disc bench/bench_song; do
  [[ -x $build/$exe ]] || {
    echo "$build/$exe is not built" >&2
    exit 1
  }
done

work=$(mktemp -d)
server=""
client=""
cleanup() {
  # Only what this script started, by its PID.
  for pid in $client $server; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
unset PULSE_SERVER PULSE_SINK
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cat >"$work/pa.pa" <<'EOF'
load-module module-null-sink sink_name=nul
load-module module-native-protocol-unix
set-default-sink nul
EOF
pulseaudio -n -F "$work/pa.pa" --daemonize=no --exit-idle-time=-1 \
  --log-target=file:"$work/pulse.log" &
server=$!
for _ in $(seq 50); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.2
done
pactl info >/dev/null 2>&1 || {
  echo "the private PulseAudio did not start:" >&2
  cat "$work/pulse.log" >&2
  exit 1
}

cue=$("$build/src/tobira-demo-disc" "$work/disc")
"$build/bench/bench_song" "$work/song.mid" $((seconds + settle + 30))
# The floor: the disc's own PCM, repeated to outlast the measure.
for _ in $(seq 20); do cat "$work"/disc/*.bin; done >"$work/floor.pcm"

# Nanoseconds on a CPU of all threads of a process (schedstat; shell arithmetic, no overflow).
cpu_ns() {
  local n=0 run _
  for f in /proc/"$1"/task/*/schedstat; do
    read -r run _ <"$f" 2>/dev/null || continue
    n=$((n + run))
  done
  echo "$n"
}
# Wake-ups of the process's audio thread: the times it went to sleep of its own accord (SDL
# names the thread SDLAudio…; paplay has one thread for all). Preemption on a busy machine is
# not counted.
audio_switches() {
  local t n=0
  for t in /proc/"$1"/task/*; do
    if [[ $2 == all ]] || [[ $(cat "$t/comm" 2>/dev/null) == SDLAudio* ]]; then
      n=$((n + $(awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s + 0 }' "$t/status" 2>/dev/null || echo 0)))
    fi
  done
  echo "$n"
}

# measure NAME PID THREADS: prints "NAME client_s/min server_s/min wakes/s"
measure() {
  local name=$1 pid=$2 threads=$3
  sleep "$settle"
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "$name: the process ended early" >&2
    return 1
  fi
  if [[ $(pactl list short sink-inputs | wc -l) -lt 1 ]]; then
    echo "$name: no stream on the sound server" >&2
  fi
  local c0 s0 w0 c1 s1 w1
  c0=$(cpu_ns "$pid")
  s0=$(cpu_ns "$server")
  w0=$(audio_switches "$pid" "$threads")
  sleep "$seconds"
  c1=$(cpu_ns "$pid")
  s1=$(cpu_ns "$server")
  w1=$(audio_switches "$pid" "$threads")
  # Milliseconds of CPU per minute of music, and wake-ups per 100 s, in integers.
  local cm=$(((c1 - c0) * 60 / seconds / 1000000)) sm=$(((s1 - s0) * 60 / seconds / 1000000))
  local wk=$(((w1 - w0) * 100 / seconds))
  echo "$name $cm $sm $wk $((cm + sm))" >>"$work/results"
  awk -v n="$name" -v c="$cm" -v s="$sm" -v w="$wk" 'BEGIN {
    printf "%-18s process %5.2f + server %5.2f = %5.2f CPU s/min; audio thread %6.1f wakes/s\n",
           n, c / 1000, s / 1000, (c + s) / 1000, w / 100 }'
}

stop_client() {
  kill "$client" 2>/dev/null || true
  wait "$client" 2>/dev/null || true
  client=""
}

# player MODE DRIVER: the player in a fresh program folder, offscreen, no session bus.
player() {
  local mode=$1 driver=$2 home="$work/tobira-$RANDOM"
  mkdir -p "$home"
  local autoplay=0 args=()
  if [[ $mode == cd ]]; then
    autoplay=1 # plays on insertion, endless (yellow panel)
  else
    args=("$work/song.mid")
  fi
  printf '[BASICDATA]\r\nAUTOPLAYS=%s\r\nPOWERCOLR=clYellow\r\nMIDISTART=0\r\n' "$autoplay" \
    >"$home/TOBIRA.INI"
  (
    export TOBIRA_HOME="$home" TOBIRA_CDDEVICE="$cue" QT_QPA_PLATFORM=offscreen
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
    if [[ $driver == default ]]; then unset SDL_AUDIODRIVER; else export SDL_AUDIODRIVER=$driver; fi
    exec "$build/src/tobira" "${args[@]}" >"$home/out.log" 2>&1
  ) &
  client=$!
}

drivers=${DRIVERS:-default}
for run in $(seq "$runs"); do
  for driver in $drivers; do
    for mode in midi cd; do
      player "$mode" "$driver"
      measure "$mode/$driver" "$client" sdl || true
      stop_client
    done
  done
  paplay --raw --format=s16le --rate=44100 --channels=2 "$work/floor.pcm" &
  client=$!
  measure "paplay-floor" "$client" all || true
  stop_client
done

echo "medians of $runs runs of $seconds s:"
for name in $(awk '{ print $1 }' "$work/results" | sort -u); do
  median() { awk -v n="$name" -v k="$1" '$1 == n { print $k }' "$work/results" | sort -n |
    awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
  awk -v n="$name" -v c="$(median 2)" -v s="$(median 3)" -v w="$(median 4)" -v t="$(median 5)" '
    BEGIN { printf "%-18s process %5.2f + server %5.2f, together %5.2f CPU s/min; audio thread %6.1f wakes/s\n",
            n, c / 1000, s / 1000, t / 1000, w / 100 }'
done
