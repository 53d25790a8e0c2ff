#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds TOBIRA in ./build (Ninja, optimised with debug information).
# TOBIRA_WERROR=ON makes every compiler warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOBIRA_WERROR="${TOBIRA_WERROR:-OFF}"
cmake --build build --parallel "$(nproc)"
