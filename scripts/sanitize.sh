#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and its tests with a sanitizer, in a build folder of its own, and runs them.
#   scripts/sanitize.sh address   AddressSanitizer + UndefinedBehaviorSanitizer (and leak
#                                 checks), the whole suite               -> build-address/
#   scripts/sanitize.sh thread    ThreadSanitizer, the tests of the devices and the engine: the
#                                 CD worker, the audio callback, FluidSynth, posts to the UI
#                                 thread, reads on a worker              -> build-thread/
# Reports that are compiler or library faults are suppressed through
# scripts/sanitizer-suppressions.txt, each with its reason; anything else fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
kind=${1:-}
case "$kind" in
  address | thread) ;;
  *)
    echo "usage: scripts/sanitize.sh address|thread" >&2
    exit 2
    ;;
esac
build=$root/build-$kind
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# -O1 keeps the instrumented tests quick without hiding the reports' lines.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DTOBIRA_SANITIZE="$kind" \
  -DTOBIRA_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null

supp=scripts/sanitizer-suppressions.txt
# Each sanitizer reads only its own kinds of entry.
grep -E '^leak:' "$supp" >"$build/leak.supp" || true
grep -E '^(vptr|alignment|bool|enum|function|null|object-size|shift|signed-integer-overflow|vla-bound|float-cast-overflow|pointer-overflow|undefined):' "$supp" >"$build/undefined.supp" || true
grep -E '^(race|thread|mutex|signal|deadlock|called_from_lib):' "$supp" >"$build/thread.supp" || true

export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$build/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

if [[ $kind == address ]]; then
  cmake --build "$build"
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1:strict_string_checks=1"
  export LSAN_OPTIONS="suppressions=$build/leak.supp:print_suppressions=0"
  export UBSAN_OPTIONS="suppressions=$build/undefined.supp:print_stacktrace=1:halt_on_error=1"
  cd "$build"
  ctest --output-on-failure --parallel "$(nproc)"
else
  tests=(cd_device_test cd_toc_test midi_device_test engine_mixer_test engine_output_test
    wave_device_test demo_disc_test midi_play_test cd_main_test mode_switch_test form_main_view_test
    real_time_play_test soak_test output_idle_test sequencer_player_test worker_wait_test
    pulse_output_test output_response_test midi_device_realtime_test)
  cmake --build "$build" --target "${tests[@]}"
  export TSAN_OPTIONS="suppressions=$build/thread.supp:halt_on_error=1:second_deadlock_stack=1"
  regex="^($(IFS='|'; echo "${tests[*]}"))\$"
  cd "$build"
  ctest --output-on-failure --parallel "$(nproc)" -R "$regex"
fi
