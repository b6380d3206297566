#!/usr/bin/env bash
# The core on Windows, proven on Linux: cross-builds the core, tarvex-cli.exe and the core tests
# with Debian's MinGW-w64 toolchain (posix threads) and GoogleTest from Debian's sources, then
# runs them under Wine: the core tests, the command-line tests, and every golden case, whose
# output must be byte for byte that of the Linux build. Installs what it needs. Slow, so CI runs
# it only when asked (TARVEX_WINDOWS_CHECK=1, see .ci/run).
#
# Prints "windows-check<TAB>what<TAB>count" lines and a last "N passed, N failed" line; exits 1
# when anything failed.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
tools/install-deps.sh mingw-w64 wine wine64 googletest

export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}"
export CMAKE_C_COMPILER_LAUNCHER="$CMAKE_CXX_COMPILER_LAUNCHER"
JOBS="${JOBS:-$(nproc)}"
LINUX=build/windows-check-linux
WIN=build/windows

# The Linux program the Windows one is compared with.
cmake -S . -B "$LINUX" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEX_BUILD_GUI=OFF -DTARVEX_BUILD_TESTS=OFF \
  -DTARVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$LINUX" -j "$JOBS" --target tarvex-cli
cmake -S . -B "$WIN" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DTARVEX_BUILD_GUI=OFF -DTARVEX_BUILD_BENCH=OFF -DTARVEX_BUILD_TESTS=ON -DTARVEX_WERROR=ON \
  -DTARVEX_GTEST_SOURCE=/usr/src/googletest -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
cmake --build "$WIN" -j "$JOBS"

# A Wine prefix of our own, without the Mono and Gecko installers that would wait for a user.
export WINEPREFIX="$ROOT/$WIN/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1 || true
wineserver -w
# Drive letters on Windows are the machine's own: the traffic case's configuration names its
# system folder C:\SYS\, so that folder is put on the C: drive of the prefix.
ln -sfn "$ROOT/tests/golden/tmail_traffic/mailer/sys" "$WINEPREFIX/drive_c/SYS"
cleanup() { wineserver -k 2>/dev/null || true; }
trap cleanup EXIT

passed=0
failed=0
tell() { printf 'windows-check\t%s\t%s\n' "$1" "$2"; }

# The core tests, as one run of the program.
log="$WIN/core_tests.log"
if wine "$WIN/tests/tarvex_core_tests.exe" >"$log" 2>&1; then core_ok=1; else core_ok=0; fi
# GoogleTest's closing lines ("[  PASSED  ] 330 tests."); a count it leaves out is 0.
count() { local n; n=$(sed -n "s/^\[  $1 *\] \([0-9]*\) tests\{0,1\}[.,].*/\1/p" "$log" | head -n1); echo "${n:-0}"; }
tell "core tests passed" "$(count PASSED)"
tell "core tests skipped" "$(count SKIPPED)"
tell "core tests failed" "$(count FAILED)"
if [ "$core_ok" = 1 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); grep -a '^\[  FAILED' "$log" >&2 || true; fi

# The command-line tests the build registers (the core tests ran above).
if ctest --test-dir "$WIN" -E '^core_tests$' --output-on-failure >"$WIN/ctest.log" 2>&1; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); cat "$WIN/ctest.log" >&2
fi
tell "ctest" "$(grep -a 'tests passed' "$WIN/ctest.log" || echo none)"

# Golden cases: stdout and exit status byte for byte as the Linux build's (and as expected.txt);
# stderr too, except that Windows names a local file with '\' where Linux writes '/'.
out="$WIN/golden"
rm -rf "$out" && mkdir -p "$out"
for case in tests/golden/*/; do
  [ -f "$case/cmd.txt" ] || continue
  name=$(basename "$case")
  # Split as a shell would, quotes and all, with nothing expanded (xargs does just that).
  mapfile -d '' args < <(xargs printf '%s\0' <"$case/cmd.txt")
  args=("${args[@]:1}")
  lrc=0; wrc=0
  (cd "$case" && "$ROOT/$LINUX/src/cli/tarvex-cli" "${args[@]}" >"$ROOT/$out/$name.linux.out" 2>"$ROOT/$out/$name.linux.err") || lrc=$?
  (cd "$case" && wine "$ROOT/$WIN/src/cli/tarvex-cli.exe" "${args[@]}" >"$ROOT/$out/$name.win.out" 2>"$ROOT/$out/$name.win.err") || wrc=$?
  why=""
  cmp -s "$out/$name.linux.out" "$out/$name.win.out" || why+=" stdout differs from the Linux build's;"
  cmp -s "$case/expected.txt" "$out/$name.win.out" || why+=" stdout differs from expected.txt;"
  [ "$lrc" = "$wrc" ] || why+=" exit status $wrc, Linux $lrc;"
  if ! cmp -s "$out/$name.linux.err" "$out/$name.win.err"; then
    if cmp -s <(tr '\\' / <"$out/$name.linux.err") <(tr '\\' / <"$out/$name.win.err"); then
      tell "golden stderr with Windows separators" "$name"
    else
      why+=" stderr differs;"
    fi
  fi
  if [ -z "$why" ]; then
    passed=$((passed + 1)); tell "golden same" "$name"
  else
    failed=$((failed + 1)); tell "golden DIFFERS" "$name:$why"
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
