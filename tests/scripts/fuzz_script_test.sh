#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/fuzz.sh over stand-in targets: a kept input that fails again, a target that stops with
# an error or leaves a finding each give a FAILED row and a failing exit, and an earlier run's log
# never stands in for this one's.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
script=$here/../../scripts/fuzz.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A stand-in fuzzer: with -runs=0 it replays the kept inputs (a file holding "crash" fails);
# otherwise it behaves as its name says.
make_target() {
  local name=$1 behaviour=$2
  cat >"$work/build/fuzz/fuzz_$name" <<STUB
#!/usr/bin/env bash
if [[ \$1 == -runs=0 ]]; then
  for a in "\$@"; do [[ \$a == -* ]] || ! grep -rqx crash "\$a" || exit 1; done
  exit 0
fi
for a in "\$@"; do [[ \$a == -artifact_prefix=* ]] && prefix=\${a#-artifact_prefix=}; done
case $behaviour in
  clean) echo "stat::number_of_executed_units: 4242"; echo "Done 4242 runs in 1 second(s)" ;;
  crash) echo "==1==ERROR: AddressSanitizer: heap-buffer-overflow"; echo x >"\${prefix}crash-1"; exit 1 ;;
  dies) exit 77 ;;
esac
STUB
  chmod +x "$work/build/fuzz/fuzz_$name"
}

# case: target behaviour, kept input, expected result column, expected exit status
cases=(
  "clean none ok 0"
  "clean crash FAILED 1"
  "crash none FAILED 1"
  "dies none FAILED 1"
)
for c in "${cases[@]}"; do
  read -r behaviour kept want wantStatus <<<"$c"
  rm -rf "$work/build" "$work/regressions"
  mkdir -p "$work/build/fuzz" "$work/regressions/t"
  printf '#!/bin/sh\nmkdir -p "$1/t"\n' >"$work/build/fuzz/tobira-fuzz-seeds"
  chmod +x "$work/build/fuzz/tobira-fuzz-seeds"
  make_target t "$behaviour"
  [[ $kept == crash ]] && echo crash >"$work/regressions/t/kept-input"
  # A clean log of an earlier run: it must not be read as this run's.
  printf 'stat::number_of_executed_units: 99999\nDone 99999 runs in 60 second(s)\n' >"$work/build/t.log"
  out=$(FUZZ_BUILD_DIR=$work/build FUZZ_REGRESSIONS=$work/regressions FUZZ_NO_BUILD=1 \
    bash "$script" 1 t 2>&1)
  status=$?
  row=$(grep '^t ' <<<"$out")
  if [[ $status -ne $wantStatus ]] || ! grep -q " $want" <<<"$row" || grep -q 99999 <<<"$row"; then
    echo "FAIL: target $behaviour, kept $kept: status $status, row: $row" >&2
    echo "$out" >&2
    failures=$((failures + 1))
  fi
done
exit $((failures > 0))
