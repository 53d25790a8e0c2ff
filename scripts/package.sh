#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package of the player, build/tobira_<version>_<arch>.deb, and checks it with
# lintian (no errors) and tests/app/package_test.sh. The package gets a build of its own in
# build-package/ (install prefix /usr, Debian's compiler flags, no tests or benchmarks), so build/
# keeps its configuration.
#   sudo apt-get install ./build/tobira_*.deb      then installs it with its dependencies
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package

# Debian's hardening flags; CMake reads no CPPFLAGS, so they go with the compiler flags.
eval "$(dpkg-buildflags --export=sh)"
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DTOBIRA_BUILD_BENCH=OFF
cmake --build build-package --parallel "$(nproc)"
rm -f build-package/tobira_*.deb
(cd build-package && cpack -G DEB)

mkdir -p build
rm -f build/tobira_*.deb
mv build-package/tobira_*.deb build/
deb=$(echo build/tobira_*.deb)
lintian --fail-on error "$deb"
bash tests/app/package_test.sh "$deb"
echo "package: $deb"
