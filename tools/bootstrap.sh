#!/usr/bin/env bash
# Installs what the build needs (Debian 12), configures and builds.
#   tools/bootstrap.sh [build-dir] [extra cmake arguments...]
# Only missing packages are installed; with sudo when not root.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$root/build"}
shift || true

packages=(cmake ninja-build g++ pkg-config ccache juce-modules-source libasound2-dev
          libgtest-dev googletest xvfb xauth xdotool imagemagick clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ ! -f "$build/CMakeCache.txt" ] || [ $# -gt 0 ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
