#!/usr/bin/env bash
# Runs every rig case in one boot of the USB MIDI rig and prints what arrived;
# the rig_* tests then check each case's results (tests/rig/rig.py check).
#   tests/rig/run-cases.sh <Davirodir executable> <rig work directory> [case ...]
# Results: <work>/results/<case>/. Fails when the rig cannot start or the guest
# never reports; a case's own faults are left to its check.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
[ $# -ge 2 ] || {
    echo "usage: $0 <Davirodir executable> <rig work directory> [case ...]" >&2
    exit 2
}
app=$1
work=$2
shift 2
[ -x "$app" ] || {
    echo "rig: FAILED: no executable at $app" >&2
    exit 2
}
mkdir -p "$work"
work=$(cd "$work" && pwd)

"$root/tools/usb-midi-vm/prepare.sh" "$work"
python3 "$here/rig.py" images "$work/images"

export RIG_APP RIG_IMAGES RIG_CASES RIG_COLOUR_LEAD
RIG_APP=$(cd "$(dirname "$app")" && pwd)/$(basename "$app")
RIG_IMAGES=$work/images
RIG_CASES="$*"
RIG_COLOUR_LEAD=$(python3 "$here/rig.py" colour-lead)
started=$(date +%s)
USB_MIDI_VM_WORK=$work USB_MIDI_VM_OUT=$work/results USB_MIDI_VM_PREPARED=1 \
    "$root/tools/usb-midi-vm/run.sh" "$here/cases.sh" 900
echo
echo "rig: all cases in $(($(date +%s) - started)) s (boot: $(sed -n 's/.*guest up after \([0-9.]*\) s.*/\1 s guest clock/p' "$work/results/console.log"))"
python3 "$here/rig.py" table "$work/results" "$work/images"
