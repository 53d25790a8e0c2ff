#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer) in build-fuzz/ and runs each for the given number
# of seconds (default 60) on generated seeds plus the kept regression inputs in fuzz/regressions.
#   scripts/fuzz.sh [seconds] [target...]
# FUZZ_JOBS=n runs n targets at a time (default 1). Findings land in build-fuzz/findings/<target>;
# the script fails when any target found something. The last lines give the runs per target.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
shift || true
build=$root/build-fuzz
if ! command -v clang++ >/dev/null; then
  echo "clang++ is missing: scripts/install-deps.sh --fuzz installs it" >&2
  exit 2
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTOBIRA_FUZZ=ON \
  -DBUILD_TESTING=OFF -DTOBIRA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=(ini list_line list_load album midi_title smf rmid lyrics pattern cp932 wave cue cue_text)
fi

"$build/fuzz/tobira-fuzz-seeds" "$build/seeds"
grep '^leak:' scripts/sanitizer-suppressions.txt >"$build/leak.supp" || true
export LSAN_OPTIONS="suppressions=$build/leak.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export SDL_AUDIODRIVER=dummy

run_one() {
  local name=$1
  local corpus=$build/corpus/$name findings=$build/findings/$name
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings"
  cp -n "$build/seeds/$name"/* "$corpus/" 2>/dev/null || true
  local kept=()
  [[ -d fuzz/regressions/$name ]] && kept=("fuzz/regressions/$name")
  # Kept inputs first: each once, as a regression test.
  if [[ ${#kept[@]} -gt 0 ]]; then
    "$build/fuzz/fuzz_$name" -runs=0 "${kept[@]}" >"$build/$name.regress.log" 2>&1 || {
      echo "$name: a kept regression input fails again (see $build/$name.regress.log)"
      return 1
    }
  fi
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" >"$build/$name.log" 2>&1
}

jobs=${FUZZ_JOBS:-1}
status=0
pids=()
names=()
for name in "${targets[@]}"; do
  run_one "$name" &
  pids+=($!)
  names+=("$name")
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do
    wait -n || true
  done
done
for i in "${!pids[@]}"; do
  wait "${pids[$i]}" || true
done

echo "target       runs        seconds  findings"
for name in "${targets[@]}"; do
  log=$build/$name.log
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  took=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o 'in [0-9]*' | grep -o '[0-9]*' || echo "?")
  found=$(find "$build/findings/$name" -type f | wc -l)
  if grep -q -e '^==[0-9]*==ERROR' -e 'invariant broken' -e 'runtime error:' "$log" || [[ $found -gt 0 ]]; then
    status=1
  fi
  printf '%-12s %-11s %-8s %s\n' "$name" "${runs:-?}" "${took:-?}" "$found"
done
exit $status
