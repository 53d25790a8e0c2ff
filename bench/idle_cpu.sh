#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPU and memory of the player while it waits: starts it offscreen on the demo disc (sound to
# SDL's dummy driver), lets it settle, then reads its threads' CPU time from /proc over the window.
# Usage: bench/idle_cpu.sh [seconds, default 60] [build dir]
set -euo pipefail
seconds=${1:-60}
build=$(realpath "${2:-build}")
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
"$build/src/tobira-demo-disc" "$work/disc" >/dev/null
export TOBIRA_CDDEVICE="$work/disc/tobira-demo.cue" TOBIRA_HOME="$work/home"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} XDG_RUNTIME_DIR="$work"
mkdir -p "$work/home"
"$build/src/tobira" >/dev/null 2>&1 &
pid=$!
sleep 5
# Nanoseconds on a CPU, summed over the threads (schedstat is exact; stat counts 10 ms ticks).
# Summed in the shell's 64-bit arithmetic: awk's printf "%d" stops at 2^31 ns, about 2.1 s.
ns() {
    local n=0 run _
    for f in /proc/"$pid"/task/*/schedstat; do
        read -r run _ <"$f" || continue
        n=$((n + run))
    done
    echo "$n"
}
t0=$(ns)
sleep "$seconds"
t1=$(ns)
rss=$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status")
d=$((t1 - t0))
# Thousandths of a per cent of a core, in integers; awk only formats the result.
permille=$((d / seconds / 10000))
awk -v p="$permille" -v s="$seconds" -v rss="$rss" \
    'BEGIN { printf "idle cpu: %.3f %% of a core over %d s; RSS %.1f MB\n", p / 1000, s, rss / 1024 }'
