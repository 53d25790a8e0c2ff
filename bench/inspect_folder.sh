#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tobira-inspect over every MIDI file under a folder, as a user would run it:
#   bench/inspect_folder.sh FOLDER [tobira-inspect]
# Prints the wall time of the one run and the counts accepted / refused; the goal is 3 s for
# four hundred files.
set -euo pipefail
folder=${1:?usage: inspect_folder.sh FOLDER [tobira-inspect]}
inspect=${2:-$(dirname "$0")/../build/src/tobira-inspect}
mapfile -d '' files < <(find "$folder" -type f \( -iname '*.mid' -o -iname '*.midi' -o -iname '*.kar' \
  -o -iname '*.rmi' \) -print0 | sort -z)
out=$(mktemp)
trap 'rm -f "$out"' EXIT
start=$(date +%s%N)
status=0
"$inspect" "${files[@]}" >"$out" 2>&1 || status=$?
end=$(date +%s%N)
[[ $status -le 1 ]] || { cat "$out"; exit "$status"; }
refused=$(grep -c '^【ＭＩＤＩタイトル】' "$out" || true)
echo "files ${#files[@]}, accepted $(( ${#files[@]} - refused )), refused $refused"
echo "time $(( (end - start) / 1000000 )) ms"
