#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The player on a desktop's sound server: a private PulseAudio daemon with a null sink and a
# private session bus, in a HOME and XDG_RUNTIME_DIR of their own. The player plays a song as
# dense as real busy ones (about 58 notes a second on 14 channels, bench_song dense) and a disc
# image, each for the given seconds; Audacious, when installed, plays the same song (through its
# own FluidSynth, with the same SoundFont) and the disc's sound as a WAV; paplay of that WAV is
# the floor. Each player's volume is changed once through MPRIS before the measure, as a user
# does, so that the measure shows the output as it plays after a change.
# Runs are interleaved. Prints each run and the medians: CPU seconds per minute of music of the
# process and of the sound server, and wake-ups a second (the times a thread went to sleep of
# its own accord; being preempted is no wake-up) of the process's audio side (its threads named
# as AUDIO_THREADS matches, an extended regular expression, default
# "SDLAudio|threaded-ml|[Aa]udio|[Oo]utput|pulse") and of all its threads; with VERBOSE=1 also
# each thread's, with the forced switches. A process with no thread of such a name (Audacious names
# none) shows "-" for its audio side.
#   bench/desktop_sound.sh [runs, default 3] [seconds, default 60] [build dir, default build]
# Bench only, not needed by the program: pulseaudio, pulseaudio-utils, dbus; audacious and
#   audacious-plugins for the comparison.
# Build first: cmake --build build --target tobira tobira_fluidsynth bench
# DRIVERS="pulseaudio alsa" runs the player on each of these SDL drivers (default: SDL's choice).
set -euo pipefail
runs=${1:-3}
seconds=${2:-60}
build=$(realpath "${3:-build}")
settle=6 # seconds from the start to the measure: the window, the disc, the SoundFont
audio_threads=${AUDIO_THREADS:-SDLAudio|threaded-ml|[Aa]udio|[Oo]utput|pulse}
for tool in pulseaudio pactl paplay dbus-daemon dbus-send; do
  command -v "$tool" >/dev/null || {
    echo "$tool is missing: apt-get install pulseaudio pulseaudio-utils dbus" >&2
    exit 1
  }
done
for exe in src/tobira bench/bench_song bench/output_reference; do
  [[ -x $build/$exe ]] || {
    echo "$build/$exe is not built" >&2
    exit 1
  }
done
peer=$(command -v audacious || true)

work=$(mktemp -d)
daemons=()
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
  # Only what this script started, by its PID.
  [[ -n $client ]] && stop_pid "$client"
  for ((i = ${#daemons[@]} - 1; i >= 0; i--)); do stop_pid "${daemons[i]}"; done
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
unset PULSE_SERVER PULSE_SINK
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --address="unix:path=$work/bus" --nofork --nopidfile >"$work/dbus.log" 2>&1 &
daemons+=($!)
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"
cat >"$work/pa.pa" <<'EOF'
load-module module-null-sink sink_name=nul
load-module module-native-protocol-unix
set-default-sink nul
EOF
pulseaudio -n -F "$work/pa.pa" --daemonize=no --exit-idle-time=-1 \
  --log-target=file:"$work/pulse.log" &
server=$!
daemons+=($server)
for _ in $(seq 50); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.2
done
pactl info >/dev/null 2>&1 || {
  echo "the private PulseAudio did not start:" >&2
  cat "$work/pulse.log" >&2
  exit 1
}

length=$((seconds + settle + 30))
"$build/bench/output_reference" cd "$work/disc" "$length" >/dev/null
"$build/bench/bench_song" "$work/song.mid" "$length" dense

# Nanoseconds on a CPU of all threads of a process (schedstat; shell arithmetic, no overflow).
cpu_ns() {
  local n=0 run _
  for f in /proc/"$1"/task/*/schedstat; do
    read -r run _ <"$f" 2>/dev/null || continue
    n=$((n + run))
  done
  echo "$n"
}
# "tid name wakes forced" for each thread of the process: wakes are the times it went to sleep
# of its own accord (each is one wake-up later); forced are the times another task took its CPU
# while it ran, which count only the machine's load, so they are shown apart.
thread_switches() {
  local t
  for t in /proc/"$1"/task/*; do
    awk -v tid="${t##*/}" -v name="$(tr ' ' _ <"$t/comm" 2>/dev/null)" '
      /^voluntary_ctxt_switches/ { w = $2 } /^nonvoluntary_ctxt_switches/ { f = $2 }
      END { if (name != "") print tid, name, w + 0, f + 0 }' \
      "$t/status" 2>/dev/null || true
  done
}

# set_volume NAME: the MPRIS Volume of the player on the bus, as a sound menu sets it.
set_volume() {
  dbus-send --session --print-reply=literal --dest="org.mpris.MediaPlayer2.$1" \
    /org/mpris/MediaPlayer2 org.freedesktop.DBus.Properties.Set \
    string:org.mpris.MediaPlayer2.Player string:Volume variant:double:0.9 >/dev/null ||
    echo "$1: the volume could not be set" >&2
}

# measure NAME PID [MPRIS NAME]: prints and keeps
# "NAME client_ms/min server_ms/min audio_wakes/100s all_wakes/100s total_ms/min"
measure() {
  local name=$1 pid=$2 bus=${3:-}
  sleep "$settle"
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "$name: the process ended early" >&2
    return 1
  fi
  if [[ $(pactl list short sink-inputs | wc -l) -lt 1 ]]; then
    echo "$name: no stream on the sound server" >&2
  fi
  [[ -n $bus ]] && set_volume "$bus"
  sleep 1
  local c0 s0 c1 s1
  thread_switches "$pid" >"$work/switches0"
  c0=$(cpu_ns "$pid")
  s0=$(cpu_ns "$server")
  sleep "$seconds"
  c1=$(cpu_ns "$pid")
  s1=$(cpu_ns "$server")
  thread_switches "$pid" >"$work/switches1"
  # Wake-ups a thread had in the measure, per 100 s (a thread started meanwhile counts from 0).
  awk -v secs="$seconds" -v re="$audio_threads" -v verbose="${VERBOSE:-}" -v n="$name" '
    NR == FNR { before[$1] = $3; forcedBefore[$1] = $4; next }
    { d = int(($3 - before[$1]) * 100 / secs); all += d; if ($2 ~ re) { audio += d; named = 1 }
      per[$2] += d; forced[$2] += int(($4 - forcedBefore[$1]) * 100 / secs) }
    END { print named ? audio + 0 : -1, all + 0
      if (verbose) for (t in per) if (per[t] + forced[t] >= 50)
        printf "  %-18s %-16s %7.1f wakes/s, %7.1f forced switches/s\n", n, t, per[t] / 100, forced[t] / 100 > "/dev/stderr" }
  ' "$work/switches0" "$work/switches1" >"$work/wakes"
  local aw ww
  read -r aw ww <"$work/wakes"
  # Milliseconds of CPU per minute of music, in integers.
  local cm=$(((c1 - c0) * 60 / seconds / 1000000)) sm=$(((s1 - s0) * 60 / seconds / 1000000))
  echo "$name $cm $sm $aw $ww $((cm + sm))" >>"$work/results"
  awk -v n="$name" -v c="$cm" -v s="$sm" -v a="$aw" -v w="$ww" 'BEGIN {
    printf "%-20s process %5.2f + server %5.2f = %5.2f CPU s/min; wakes/s audio side %6s, all threads %6.1f\n",
           n, c / 1000, s / 1000, (c + s) / 1000, a < 0 ? "-" : sprintf("%.1f", a / 100), w / 100 }'
}

stop_client() {
  stop_pid "$client"
  client=""
}

# player MODE DRIVER: the player in a fresh program folder, offscreen, on the private bus.
player() {
  local mode=$1 driver=$2 home="$work/tobira-$RANDOM"
  mkdir -p "$home"
  local autoplay=0 args=()
  if [[ $mode == cd ]]; then
    autoplay=1 # plays on insertion, endless (yellow panel)
  else
    args=("$work/song.mid")
  fi
  printf '[BASICDATA]\r\nAUTOPLAYS=%s\r\nPOWERCOLR=clYellow\r\nMIDISTART=0\r\nVOLUMEPOS=10\r\n' \
    "$autoplay" >"$home/TOBIRA.INI"
  (
    export TOBIRA_HOME="$home" TOBIRA_CDDEVICE="$work/disc/reference.cue" QT_QPA_PLATFORM=offscreen
    if [[ $driver == default ]]; then unset SDL_AUDIODRIVER; else export SDL_AUDIODRIVER=$driver; fi
    exec "$build/src/tobira" "${args[@]}" >"$home/out.log" 2>&1
  ) &
  client=$!
}

# audacious MODE: the peer in a fresh configuration, without a window, with the same SoundFont.
audacious_player() {
  local mode=$1 config="$work/audacious-$RANDOM"
  mkdir -p "$config/audacious"
  printf '[amidiplug]\nfsyn_soundfont_file=/usr/share/sounds/sf2/default-GM.sf2\n' \
    >"$config/audacious/config"
  local file="$work/disc/reference.wav"
  [[ $mode == midi ]] && file="$work/song.mid"
  XDG_CONFIG_HOME="$config" "$peer" -H "$file" >"$config/out.log" 2>&1 &
  client=$!
}

drivers=${DRIVERS:-default}
for run in $(seq "$runs"); do
  for mode in midi cd; do
    for driver in $drivers; do
      player "$mode" "$driver"
      measure "$mode/$driver" "$client" tobira || true
      stop_client
    done
    if [[ -n $peer ]]; then
      audacious_player "$mode"
      measure "$mode/audacious" "$client" audacious || true
      stop_client
    fi
  done
  paplay "$work/disc/reference.wav" &
  client=$!
  measure "paplay-floor" "$client" || true
  stop_client
done

echo "medians of $runs runs of $seconds s:"
for name in $(awk '{ print $1 }' "$work/results" | sort -u); do
  median() { awk -v n="$name" -v k="$1" '$1 == n { print $k }' "$work/results" | sort -n |
    awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
  awk -v n="$name" -v c="$(median 2)" -v s="$(median 3)" -v a="$(median 4)" -v w="$(median 5)" \
    -v t="$(median 6)" 'BEGIN {
    printf "%-20s process %5.2f + server %5.2f, together %5.2f CPU s/min; wakes/s audio side %6s, all threads %6.1f\n",
            n, c / 1000, s / 1000, t / 1000, a < 0 ? "-" : sprintf("%.1f", a / 100), w / 100 }'
done
