#!/usr/bin/env bash
# Boots the USB MIDI rig (Debian's kernel in QEMU on the host's read-only root),
# runs one script in the guest and brings its results back.
#   tools/usb-midi-vm/run.sh <guest-script> [timeout-seconds]   (default 600)
#   tools/usb-midi-vm/run.sh --shell                            (a shell on the console)
# Results land in $USB_MIDI_VM_OUT (default: <work>/out), emptied first; the guest
# script sees it as $RIG_OUT, and its output is also in guest.log there. Every
# RIG_* variable of the caller's environment is passed to the guest script.
# Runs prepare.sh first unless USB_MIDI_VM_PREPARED=1. Work directory:
# $USB_MIDI_VM_WORK (default build/usb-midi-vm). Exits with the guest script's
# status, or 2 with a message when the rig cannot run or the guest never reports.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=${USB_MIDI_VM_WORK:-"$root/build/usb-midi-vm"}

die() {
    echo "usb-midi-vm: FAILED: $*" >&2
    exit 2
}

[ $# -ge 1 ] || die "usage: $0 <guest-script> [timeout-seconds] | --shell"
script=""
if [ "$1" != "--shell" ]; then
    [ -f "$1" ] || die "no guest script $1"
    script=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
fi
timeout_s=${2:-600}

if [ "${USB_MIDI_VM_PREPARED:-}" != "1" ]; then
    "$here/prepare.sh" "$work" || die "prepare.sh could not get the rig ready"
fi
mkdir -p "$work"
work=$(cd "$work" && pwd)
command -v qemu-system-x86_64 >/dev/null || die "qemu-system-x86_64 is not installed (package qemu-system-x86)"
kernel=$(ls "$work"/kernel/boot/vmlinuz-* 2>/dev/null | head -1 || true)
[ -n "$kernel" ] || die "no kernel in $work/kernel (run tools/usb-midi-vm/prepare.sh)"
[ -f "$work/initrd.gz" ] || die "no initramfs $work/initrd.gz (run tools/usb-midi-vm/prepare.sh)"
for p in "$here" "$work" "$script"; do
    case "$p" in *[[:space:]]*) die "the path $p has blanks; it travels on the kernel command line" ;; esac
done

out=${USB_MIDI_VM_OUT:-"$work/out"}
if [ -e "$out" ] && [ -n "$(ls -A "$out")" ] && [ ! -f "$out/.usb-midi-vm-out" ]; then
    die "$out is not empty and not a results directory of the rig; not emptying it"
fi
rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
touch "$out/.usb-midi-vm-out"
# The guest script's settings; values are quoted for bash.
while IFS= read -r name; do
    printf 'export %s=%q\n' "$name" "${!name}"
done < <(compgen -v RIG_ | grep -v -x -e RIG_DIR -e RIG_WORK -e RIG_OUT) >"$out/rig-env.sh"

accel="-accel tcg,thread=multi"
[ "$(cat "$work/accel" 2>/dev/null)" = "kvm" ] && accel="-accel kvm -cpu host"
console=(-serial stdio -monitor none)
[ -z "$script" ] && console=(-serial mon:stdio)

started=$(date +%s.%N)
echo "usb-midi-vm: booting $(basename "$kernel") ($accel), guest script ${script:-none}, timeout ${timeout_s} s"
set +e
# shellcheck disable=SC2086 # accel is a list of options
timeout --foreground "$timeout_s" qemu-system-x86_64 $accel -m 1536 -smp 2 -display none "${console[@]}" \
    -no-reboot -net none -kernel "$kernel" -initrd "$work/initrd.gz" \
    -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
    -virtfs "local,path=$out,mount_tag=out,security_model=none" \
    -append "console=ttyS0 quiet loglevel=4 panic=-1 rig.dir=$here rig.work=$work rig.script=$script" \
    2>&1 | tee "$out/console.log"
qemu_status=${PIPESTATUS[0]}
set -e
elapsed=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
echo "usb-midi-vm: QEMU ended after $elapsed s (status $qemu_status); results in $out"

[ -z "$script" ] && exit 0
[ "$qemu_status" -ne 124 ] || die "the guest did not finish within $timeout_s s (console: $out/console.log)"
[ -f "$out/status" ] || die "the guest never reported a result (QEMU status $qemu_status; console: $out/console.log)"
exit "$(cat "$out/status")"
