#!/usr/bin/env bash
# Installs what the build needs (Debian 12), configures and builds.
#   tools/bootstrap.sh [build-dir] [extra cmake arguments...]
# Only missing packages are installed; with sudo when not root.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/lib.sh"
build=${1:-"$root/build"}
shift || true

install_missing cmake ninja-build g++ pkg-config ccache juce-modules-source libasound2-dev \
    libgtest-dev googletest xvfb xauth xdotool imagemagick clang libclang-rt-14-dev fonts-dejavu-core \
    dpkg-dev file fakeroot lintian desktop-file-utils appstream librsvg2-bin man-db x11-utils

if [ ! -f "$build/CMakeCache.txt" ] || [ $# -gt 0 ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
