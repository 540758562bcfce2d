#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgl-dev libjpeg-dev
      libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev clang libclang-rt-dev llvm
      clang-format clang-tidy)
# A virtual display, and a look at its windows, for checking the program starts; a window
# manager on it for the tests of where windows go.
[ "${1:-}" = "--ui" ] && pkgs+=(xvfb xauth x11-utils openbox)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
