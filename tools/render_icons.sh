#!/usr/bin/env bash
# Renders the icon's PNGs (48, 128 and 256 pixels square) from packaging/icons/davirodir.svg
# into packaging/icons/davirodir-<size>.png. Run it after editing the SVG and commit the PNGs:
#   tools/render_icons.sh
# Installs librsvg2-bin (rsvg-convert) when it is missing; with sudo when not root.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/lib.sh"
icons="$root/packaging/icons"

install_missing librsvg2-bin

for size in 48 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$icons/davirodir-$size.png" "$icons/davirodir.svg"
    echo "$icons/davirodir-$size.png"
done
