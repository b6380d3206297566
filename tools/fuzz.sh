#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UBSan) in build/fuzz and runs
# each for SECONDS (default 60), one after the other.
#   tools/fuzz.sh [SECONDS] [TARGET...]        no target: all of them
# Prints one line per target: name<TAB>executions<TAB>crashes. Exits 1 when any target crashed
# (each crash input is kept under build/fuzz/crashes/<target>/; fix the reader and copy the input
# to tests/fuzz/regressions/<target>/, where the normal tests replay it), 2 when it cannot build.
# The corpus each target grows is kept in build/fuzz/corpus/<target>/ for the next run
# (TARVEX_FUZZ_CORPUS=DIR keeps it elsewhere: a short run need not replay a grown corpus first).
# Installs clang when it is missing (as root, or with sudo).
set -euo pipefail
cd "$(dirname "$0")/.."

run_seconds=60
if [[ $# -gt 0 && $1 =~ ^[0-9]+$ ]]; then
  run_seconds=$1
  shift
fi
BUILD=build/fuzz

tools/install-deps.sh >&2

# libFuzzer comes with clang's runtime libraries; a clang without them cannot link a fuzzer.
links_fuzzer() {
  local probe
  probe=$(mktemp -d)
  printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n' \
    >"$probe/probe.cpp"
  local ok=0
  clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1 || ok=1
  rm -rf "$probe"
  return $ok
}
if ! command -v clang++ >/dev/null 2>&1 || ! links_fuzzer; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 && SUDO="sudo" || { echo "Please install as root: clang libclang-rt-dev" >&2; exit 2; }
  fi
  echo "Installing: clang libclang-rt-dev" >&2
  APT=($SUDO env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600)
  "${APT[@]}" update </dev/null >&2
  "${APT[@]}" install -y --no-install-recommends clang libclang-rt-dev </dev/null >&2
  links_fuzzer || { echo "clang cannot link a libFuzzer program" >&2; exit 2; }
fi

# -O1 keeps the runs fast and the sanitizer reports readable; Debug keeps the assertions.
CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DTARVEX_FUZZ=ON -DTARVEX_BUILD_GUI=OFF -DTARVEX_BUILD_TESTS=OFF -DTARVEX_BUILD_BENCH=OFF >/dev/null

mapfile -t all < "$BUILD/tests/fuzz/targets.txt"
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")
for t in "${targets[@]}"; do
  [[ " ${all[*]} " == *" $t "* ]] || { echo "Unknown fuzz target: $t (targets: ${all[*]})" >&2; exit 2; }
done

cmake --build "$BUILD" -j "$(nproc)" --target tarvex-fuzz-seeds "${targets[@]/#/fuzz_}" >&2
rm -rf "$BUILD/seeds"
"$BUILD/tests/fuzz/tarvex-fuzz-seeds" "$BUILD/seeds"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
any_crash=0
for t in "${targets[@]}"; do
  corpus="${TARVEX_FUZZ_CORPUS:-$BUILD/corpus}/$t"
  crashes_dir="$BUILD/crashes/$t"
  log="$BUILD/logs/$t.log"
  mkdir -p "$corpus" "$crashes_dir" "$(dirname "$log")"
  dirs=("$corpus" "$BUILD/seeds/$t")
  [ -d "tests/fuzz/regressions/$t" ] && dirs+=("tests/fuzz/regressions/$t")
  rc=0
  "$BUILD/tests/fuzz/fuzz_$t" -max_total_time="$run_seconds" -print_final_stats=1 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$crashes_dir/" "${dirs[@]}" >"$log" 2>&1 || rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$' || true)
  crashes=$(grep -c 'Test unit written to' "$log" || true)
  if [ "$rc" -ne 0 ] && [ "$crashes" -eq 0 ]; then
    crashes=1  # it died without saving an input: still a failure, the log says why
  fi
  printf '%s\t%s\t%s\n' "$t" "${execs:-0}" "$crashes"
  if [ "$crashes" -ne 0 ]; then
    any_crash=1
    echo "fuzz_$t crashed; see $log" >&2
    grep -E 'ERROR:|SUMMARY:|Test unit written to' "$log" | head -n 5 >&2 || true
  fi
done
exit $any_crash
