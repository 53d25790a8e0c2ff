#!/usr/bin/env bash
# Installs what is needed, builds, and starts the player.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --player
scripts/build.sh
exec build/src/tobira
