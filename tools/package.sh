#!/usr/bin/env bash
# Builds the Debian package: a Release build without tests, then CPack. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh dpkg-dev file
BUILD=build/package
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEX_BUILD_TESTS=OFF -DTARVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
(cd "$BUILD" && cpack -G DEB >/dev/null)
ls "$PWD/$BUILD"/tarvex_*.deb
