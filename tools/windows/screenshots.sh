#!/usr/bin/env bash
# Takes the README's screenshots of the Windows executable under Wine + Xvfb,
# into docs/: the main window idle and during an automatic update.
#   tools/windows/screenshots.sh [build-dir]     (after tools/build-windows.sh; default <repo>/build-win)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build-win}" && pwd)
exe=$build/Davirodir_artefacts/Release/Davirodir.exe
[ -f "$exe" ] || { echo "no $exe: run tools/build-windows.sh" >&2; exit 1; }

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi

work=$(mktemp -d)
export WINEPREFIX=$build/screenshot-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
[ -f "$WINEPREFIX/system.reg" ] || "$root/tests/windows/fresh-wine-prefix.sh" "$WINEPREFIX" >/dev/null 2>&1
export DAVIRODIR_VIRTUAL_MIDI_OUTPUTS="Zodeduri (virtual);USB MIDI Cable"
export DAVIRODIR_VIRTUAL_MIDI_CAPTURE="Z:${work//\//\\}"

main_window() { # pid: its titled window, once it is up (JUCE's shadows are untitled windows)
    local w
    for _ in $(seq 600); do
        for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            [ -n "$(xdotool getwindowname "$w" 2>/dev/null)" ] && { echo "$w"; return; }
        done
        sleep 0.1
    done
    echo "no window" >&2
    exit 1
}

shoot() { # window file
    sleep 1
    import -window "$1" "$root/docs/$2"
    echo "docs/$2"
}

wine "$exe" &
pid=$!
shoot "$(main_window $pid)" windows-main-idle.png
kill $pid; wait $pid 2>/dev/null || true

python3 - "$work/fw.syx" <<'PY'
import sys
with open(sys.argv[1], "wb") as f:
    for n in range(24):
        f.write(bytes([0xF0, 0x7D, n]) + bytes((n + i) & 0x7F for i in range(200)) + bytes([0xF7]))
PY
wine "$exe" --autoupdate --file "Z:${work//\//\\}\\fw.syx" &
pid=$!
w=$(main_window $pid)
while ! [ "$(wc -l < "$work/Zodeduri (virtual).log" 2>/dev/null || echo 0)" -ge 10 ]; do sleep 0.2; done
shoot "$w" windows-main-uploading.png
kill $pid; wait $pid 2>/dev/null || true
