#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets (clang, libFuzzer) in build-fuzz/ and runs each for the given number
# of seconds (default 60) on generated seeds plus the kept regression inputs in fuzz/regressions.
#   scripts/fuzz.sh [seconds] [target...]
# FUZZ_JOBS=n runs n targets at a time (default 1). Findings land in build-fuzz/findings/<target>;
# the script fails (exit 1, a FAILED row) when any target found something, stopped with an error,
# or a kept input fails again. The last lines give the runs and the result per target.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
shift || true
# FUZZ_BUILD_DIR, FUZZ_REGRESSIONS and FUZZ_NO_BUILD=1 (run what that folder holds) serve the
# script's own test.
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
regressions=${FUZZ_REGRESSIONS:-fuzz/regressions}
if [[ -z ${FUZZ_NO_BUILD:-} ]]; then
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
fi

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=(ini list_line list_load album midi_title smf rmid lyrics pattern cp932 wave cue cue_text cd_text)
fi

"$build/fuzz/tobira-fuzz-seeds" "$build/seeds"
grep '^leak:' scripts/sanitizer-suppressions.txt >"$build/leak.supp" || true
export LSAN_OPTIONS="suppressions=$build/leak.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export SDL_AUDIODRIVER=dummy

# Each target leaves its outcome in <name>.status: "ok", "regress" (a kept input fails again) or
# the fuzzer's exit status. Its logs and status are removed first, so no earlier run's numbers
# can stand in for this one's.
run_one() {
  local name=$1
  local corpus=$build/corpus/$name findings=$build/findings/$name
  rm -rf "$findings" "$build/$name.log" "$build/$name.regress.log" "$build/$name.status"
  mkdir -p "$corpus" "$findings"
  cp -n "$build/seeds/$name"/* "$corpus/" 2>/dev/null || true
  local kept=()
  [[ -d $regressions/$name ]] && kept=("$regressions/$name")
  # Kept inputs first: each once, as a regression test.
  if [[ ${#kept[@]} -gt 0 ]]; then
    if ! "$build/fuzz/fuzz_$name" -runs=0 -artifact_prefix="$findings/" "${kept[@]}" \
      >"$build/$name.regress.log" 2>&1; then
      echo "$name: a kept regression input fails again (see $build/$name.regress.log)" >&2
      echo regress >"$build/$name.status"
      return 1
    fi
  fi
  local rc=0
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" >"$build/$name.log" 2>&1 || rc=$?
  if [[ $rc -eq 0 ]]; then
    echo ok >"$build/$name.status"
  else
    echo "$rc" >"$build/$name.status"
  fi
  return "$rc"
}

jobs=${FUZZ_JOBS:-1}
status=0
for name in "${targets[@]}"; do
  run_one "$name" &
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do
    wait -n || true # each outcome is read from its status file below
  done
done
wait || true

echo "target       runs        seconds  findings  result"
for name in "${targets[@]}"; do
  log=$build/$name.log
  result=$(cat "$build/$name.status" 2>/dev/null || echo "no result")
  runs=? took=?
  if [[ -f $log ]]; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    took=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o 'in [0-9]*' | grep -o '[0-9]*' || echo "?")
  fi
  found=$(find "$build/findings/$name" -type f 2>/dev/null | wc -l)
  if [[ $result != ok || $found -gt 0 ]] ||
    { [[ -f $log ]] && grep -q -e '^==[0-9]*==ERROR' -e 'invariant broken' -e 'runtime error:' "$log"; }; then
    status=1
    case $result in
      ok) result=FAILED ;;
      regress) result="FAILED (kept input)" ;;
      *) result="FAILED ($result)" ;;
    esac
  fi
  printf '%-12s %-11s %-8s %-9s %s\n' "$name" "${runs:-?}" "${took:-?}" "$found" "$result"
done
exit $status
