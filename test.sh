#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UBSan, runs every test.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
BUILD=build/test
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVEX_SANITIZE=ON -DTARVEX_WERROR=ON -DTARVEX_BUILD_GUI=ON -DTARVEX_BUILD_TESTS=ON >/dev/null
cmake --build "$BUILD" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)"
# A short run of every fuzz target when clang is there (tools/fuzz.sh runs long ones); a crash
# fails the tests. Without clang the replays above still run each target over its saved inputs.
# They start from the seeds only, so a corpus grown by long runs does not lengthen them.
if command -v clang++ >/dev/null 2>&1; then
  corpus=$(mktemp -d)
  trap 'rm -rf "$corpus"' EXIT
  TARVEX_FUZZ_CORPUS="$corpus" tools/fuzz.sh 1
fi
