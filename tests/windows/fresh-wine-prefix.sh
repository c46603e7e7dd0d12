#!/usr/bin/env bash
# Makes a fresh Wine prefix for the Windows end-to-end tests (ctest runs it as
# the setup of the "windows" label):
#   tests/windows/fresh-wine-prefix.sh <prefix-dir>
# Fails when Wine is missing: tools/build-windows.sh installs it.
set -euo pipefail

prefix=${1:?usage: fresh-wine-prefix.sh <prefix-dir>}
case "$prefix" in /*) ;; *) prefix=$PWD/$prefix ;; esac
command -v wine >/dev/null && command -v wineserver >/dev/null && command -v wineboot >/dev/null || {
    echo "Wine is missing: tools/build-windows.sh installs it" >&2
    exit 1
}
export WINEARCH=win64 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ ! -d "$prefix" ] || WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
wineboot --init
# A program started before Wine has finished making the prefix can find
# CreateDXGIFactory failing (and JUCE then crashes).
wineserver -w
# Without a window manager winex11 waits 2 s per window for it at every exit.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
# No sound system here: without Wine's audio drivers ALSA has nothing to complain about.
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d '' /f
# A crash ends the process with its backtrace on stderr instead of a dialog
# that waits for a click.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
wineserver -w
[ -f "$prefix/system.reg" ] || { echo "wineboot made no prefix at $prefix" >&2; exit 1; }
