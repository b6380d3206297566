#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only when some are missing.
# Works as root with no terminal; uses sudo otherwise when it is there.
set -euo pipefail

PKGS=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
      libgtest-dev libbenchmark-dev fonts-dejavu-core)

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
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
