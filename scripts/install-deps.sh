#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian 12 package that building, running and testing TOBIRA needs.
#   scripts/install-deps.sh          build and test packages
#   scripts/install-deps.sh --player also the full General MIDI SoundFont (about 120 MB)
#   scripts/install-deps.sh --fuzz   also clang and libFuzzer, for scripts/fuzz.sh
#   scripts/install-deps.sh --package  also lintian, for scripts/package.sh
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-svg-dev qt6-translations-l10n
  libfluidsynth-dev libcdio-dev libcdio-paranoia-dev libsdl2-dev libasound2-dev
  libsndfile1-dev libpulse-dev
  pulseaudio pulseaudio-utils
  timgm6mb-soundfont
  fonts-ipafont-gothic
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool
  desktop-file-utils appstream
  dbus
  libxcb1-dev
)
for option in "$@"; do
  case "$option" in
    --player) packages+=(fluid-soundfont-gm) ;;
    # scripts/fuzz.sh: clang with libFuzzer and the sanitizer run-times.
    --fuzz) packages+=(clang libclang-rt-dev) ;;
    # scripts/package.sh: CPack picks the ELF files for dpkg-shlibdeps with file(1).
    --package) packages+=(dpkg-dev file lintian) ;;
    *)
      echo "unknown option $option" >&2
      exit 2
      ;;
  esac
done

as_root=()
if [[ "$(id -u)" != 0 ]]; then
  as_root=(sudo)
fi

"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${packages[@]}"
