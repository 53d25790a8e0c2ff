#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every C++ file of src/ and tests/ as .clang-format lays it out; names the files that differ.
#   check_format.sh <project folder>
set -euo pipefail
cd "$1"
if ! command -v clang-format >/dev/null; then
  echo "clang-format is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
find src tests -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run --Werror
