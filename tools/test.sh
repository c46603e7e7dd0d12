#!/usr/bin/env bash
# Builds and runs the whole test suite, GUI and end-to-end tests included
# (under Xvfb when there is no display). Exits non-zero on any failure.
#   tools/test.sh           everything: the suite, the USB MIDI rig tests, then the sanitizer
#                           builds and a short fuzz run
#   tools/test.sh --quick   the suite on the normal build only (no rig, no Windows build)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/lib.sh"
quick=0
[ "${1:-}" = "--quick" ] && quick=1

suite() { # build-dir, ctest arguments...
    local dir=$1
    shift
    with_display ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" "$@"
}

echo "== build and test suite"
"$root/tools/bootstrap.sh" "$root/build"
if [ "$quick" -eq 1 ]; then
    suite "$root/build" -LE "rig|windows"
    exit 0
fi
suite "$root/build" -LE rig

echo "== USB MIDI rig tests (the updater against Linux's own drivers, in a VM)"
rig_started=$SECONDS
rig_status=0
ctest --test-dir "$root/build" --output-on-failure -L rig || rig_status=$?
echo "== USB MIDI rig tests took $((SECONDS - rig_started)) s"
python3 "$root/tests/rig/rig.py" table "$root/build/usb-midi-vm/results" "$root/build/usb-midi-vm/images" || true
[ "$rig_status" -eq 0 ]

if [ -x "$root/tools/sanitizers.sh" ]; then
    "$root/tools/sanitizers.sh"
fi
echo "All tests passed."
