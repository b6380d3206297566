#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only when some are missing; more
# packages may be named as arguments (tools/windows-check.sh adds its cross toolchain and Wine).
# Works as root with no terminal; uses sudo otherwise when it is there.
set -euo pipefail

PKGS=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
      libgtest-dev libbenchmark-dev fonts-dejavu-core desktop-file-utils appstream "$@")

missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 && SUDO="sudo" || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
fi
echo "Installing: ${missing[*]}"
# A freshly booted machine often has its daily apt job holding the package locks: wait for it
# instead of failing at once. apt-get install waits by itself given the timeout; apt-get update
# does not wait for the lists lock, so it is retried while that lock is the only trouble.
# (sudo drops the environment, hence env for DEBIAN_FRONTEND.)
APT=($SUDO env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600)
for try in $(seq 60); do
  if out=$("${APT[@]}" update </dev/null 2>&1); then echo "$out"; break; fi
  echo "$out" >&2
  if [ "$try" -eq 60 ] || ! grep -q "Could not get lock" <<<"$out"; then exit 1; fi
  echo "Waiting for the apt lists lock..." >&2
  sleep 10
done
"${APT[@]}" install -y --no-install-recommends "${missing[@]}" </dev/null
