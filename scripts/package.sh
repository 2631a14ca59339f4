#!/usr/bin/env bash
# Builds the Debian package build-deb/morvela_<version>_<arch>.deb from a
# release build of its own (Debian 12).
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps and file work out the package's library dependencies.
scripts/install-deps.sh dpkg-dev file
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
nice cmake --build build-deb -j2
(cd build-deb && cpack -G DEB)
ls build-deb/morvela_*.deb
