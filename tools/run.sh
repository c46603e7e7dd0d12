#!/usr/bin/env bash
# Starts the updater on its built-in firmware image (extra arguments are passed on).
# With a display the window opens. Without one, a whole automatic update runs
# under Xvfb against a virtual MIDI port, and what the virtual device received
# is printed as it arrives and at the end.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/lib.sh"
build=${DAVIRODIR_BUILD_DIR:-"$root/build"}
"$root/tools/bootstrap.sh" "$build"
app=$(app_in "$build")

if [ -n "${DISPLAY:-}" ]; then
    exec "$app" "$@"
fi

port="Zodeduri (virtual)"
capture=$(mktemp -d)
trap 'rm -rf "$capture"' EXIT
log="$capture/$port.log"

echo "No display: running an automatic update under Xvfb against the virtual MIDI port \"$port\"."
echo "It paces as a real cable would (300 ms after each message, 31250 bit/s); the built-in image takes about 4 minutes."

export DAVIRODIR_VIRTUAL_MIDI_OUTPUTS="$port"
export DAVIRODIR_VIRTUAL_MIDI_CAPTURE="$capture"
started=$(date +%s.%N)
with_display "$app" --autoupdate --outputid 1 "$@" &
pid=$!

summary() {
    if [ -f "$log" ]; then
        awk -F'\t' '{ n++; b += $3; if (n == 1) first = $1; last = $2 }
                    END { printf "%d messages, %d bytes", n, b; if (n) printf ", %.1f s from the first send to the end of the last", (last - first) / 1000 }' "$log"
    else
        printf "nothing (the port was never opened)"
    fi
}

while kill -0 "$pid" 2>/dev/null; do
    sleep 5
    kill -0 "$pid" 2>/dev/null || break
    echo "  received so far: $(summary)"
done
status=0
wait "$pid" || status=$?

echo
echo "The virtual device received: $(summary)."
[ -f "$capture/$port.syx" ] && echo "SysEx bytes received: $(stat -c %s "$capture/$port.syx"), SHA-256 $(sha256sum < "$capture/$port.syx" | cut -c1-64)"
elapsed=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
echo "Updater exit status: $status, after $elapsed s."
exit "$status"
