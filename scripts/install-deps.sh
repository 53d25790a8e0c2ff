#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing TOBIRA needs.
#   scripts/install-deps.sh          build and test packages
#   scripts/install-deps.sh --player also the full General MIDI SoundFont (about 120 MB)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev
  libfluidsynth-dev libcdio-dev libcdio-paranoia-dev libsdl2-dev libasound2-dev
  libsndfile1-dev
  timgm6mb-soundfont
  fonts-ipafont-gothic
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool
)
if [[ "${1:-}" == "--player" ]]; then
  packages+=(fluid-soundfont-gm)
fi

as_root=()
if [[ "$(id -u)" != 0 ]]; then
  as_root=(sudo)
fi

"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${packages[@]}"
