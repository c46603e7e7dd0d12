#!/usr/bin/env bash
# Takes the README's screenshots of the real windows under Xvfb, into docs/:
# main window idle, during an upload of the built-in image, after an upload, and the help window.
#   tools/screenshots.sh            (after tools/bootstrap.sh)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/lib.sh"
app=$(app_in "${DAVIRODIR_BUILD_DIR:-$root/build}")

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "$xvfb_screen" "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export DAVIRODIR_VIRTUAL_MIDI_OUTPUTS="Zodeduri (virtual);USB MIDI Cable"
export DAVIRODIR_VIRTUAL_MIDI_CAPTURE="$work"

window_of() { # pid: waits for its visible window
    for _ in $(seq 100); do
        w=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$w" ] && { echo "$w"; return; }
        sleep 0.1
    done
    echo "no window" >&2
    exit 1
}

shoot() { # window file
    sleep 0.5
    import -window "$1" "$root/docs/$2"
    echo "docs/$2"
}

# Idle, then the help window.
"$app" &
pid=$!
w=$(window_of $pid)
shoot "$w" main-idle.png
eval "$(xdotool getwindowgeometry --shell "$w")"
xdotool mousemove $((X + 590)) $((Y + 46)) click 1
sleep 1
help=$(xdotool search --onlyvisible --name "Zodeduri update help" | head -n 1)
shoot "$help" help.png
kill $pid; wait $pid 2>/dev/null || true

# The built-in image part way through an automatic update.
DAVIRODIR_VIRTUAL_MIDI_CAPTURE="$work/builtin" "$app" --autoupdate &
pid=$!
w=$(window_of $pid)
while ! [ "$(wc -l < "$work/builtin/Zodeduri (virtual).log" 2>/dev/null || echo 0)" -ge 40 ]; do sleep 0.2; done
shoot "$w" main-uploading.png
kill $pid; wait $pid 2>/dev/null || true

# An automatic update of a small image, completed.
python3 - "$work/fw.syx" <<'PY'
import sys
with open(sys.argv[1], "wb") as f:
    for n in range(24):
        f.write(bytes([0xF0, 0x7D, n]) + bytes((n + i) & 0x7F for i in range(200)) + bytes([0xF7]))
PY
"$app" --autoupdate --file "$work/fw.syx" &
pid=$!
w=$(window_of $pid)
while ! [ "$(wc -l < "$work/Zodeduri (virtual).log" 2>/dev/null || echo 0)" -ge 24 ]; do sleep 0.2; done
sleep 1.5
shoot "$w" main-completed.png
wait $pid || true
