#!/usr/bin/env bash
# Prepares the USB MIDI rig in its work directory (default: build/usb-midi-vm):
# installs the missing host packages, fetches and unpacks Debian's kernel package
# (cached), builds the device-side recorder and the initramfs, and finds out once
# whether KVM can boot that kernel here (TCG otherwise).
#   tools/usb-midi-vm/prepare.sh [work-dir]
# Environment: USB_MIDI_VM_WORK (work directory, when no argument is given),
# KVER (kernel ABI to use, e.g. 6.1.0-57-amd64; default: the one linux-image-amd64
# depends on now). Safe to run again: what is there already is kept.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
work=${1:-${USB_MIDI_VM_WORK:-"$root/build/usb-midi-vm"}}
mkdir -p "$work"
work=$(cd "$work" && pwd)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The guest runs the host's own programs, so everything it uses is a host package.
source "$root/tools/lib.sh"
install_missing qemu-system-x86 busybox-static cpio kmod alsa-utils python3 gcc libc6-dev libasound2-dev \
    xvfb xauth xdotool imagemagick procps util-linux

# Debian's kernel, unpacked (not installed): the guest gets the very drivers a
# Debian computer uses for a USB MIDI interface.
kernel=$(ls "$work"/kernel/boot/vmlinuz-* 2>/dev/null | head -1 || true)
if [ -z "$kernel" ]; then
    kver=${KVER:-}
    if [ -z "$kver" ]; then
        $sudo apt-get update -qq
        kver=$(apt-cache depends linux-image-amd64 | sed -n 's/^ *Depends: linux-image-\([0-9].*\)$/\1/p' | head -1)
    fi
    if [ -z "$kver" ]; then
        echo "usb-midi-vm: cannot tell which kernel linux-image-amd64 depends on; set KVER" >&2
        exit 1
    fi
    echo "usb-midi-vm: fetching linux-image-$kver"
    rm -rf "$work/deb" "$work/kernel"
    mkdir -p "$work/deb"
    # apt-get download writes as the _apt user when it can; the directory must let it.
    chmod 777 "$work/deb"
    (cd "$work/deb" && apt-get download -q "linux-image-$kver")
    dpkg-deb -x "$(ls "$work"/deb/linux-image-"$kver"_*.deb | head -1)" "$work/kernel.tmp"
    mv "$work/kernel.tmp" "$work/kernel"
    rm -rf "$work/deb"
    kernel=$(ls "$work"/kernel/boot/vmlinuz-* | head -1)
fi
kver=$(basename "$kernel")
kver=${kver#vmlinuz-}

# The recorder runs in the guest from the host's filesystem.
mkdir -p "$work/bin"
if [ ! -x "$work/bin/midirecord" ] || [ "$here/src/midirecord.c" -nt "$work/bin/midirecord" ]; then
    gcc -O2 -Wall -Wextra -o "$work/bin/midirecord" "$here/src/midirecord.c" -lasound
fi

# initramfs: busybox plus what it takes to mount the host's root over 9p with an overlay.
initrd=$work/initrd.gz
if [ ! -f "$initrd" ] || [ "$here/initramfs/init" -nt "$initrd" ] || [ "$kernel" -nt "$initrd" ]; then
    tree=$work/initramfs-root
    rm -rf "$tree"
    mkdir -p "$tree"/{bin,proc,sys,dev,mods,host,rw,newroot}
    cp /bin/busybox "$tree/bin/busybox"
    depmod -b "$work/kernel" "$kver"
    for m in virtio_pci 9pnet_virtio 9p overlay; do
        modprobe -d "$work/kernel" -S "$kver" --show-depends "$m" | awk '$1 == "insmod" { print $2 }'
    done | awk '!seen[$0]++' | while read -r ko; do
        cp "$ko" "$tree/mods/"
        basename "$ko" >>"$tree/mods/order"
    done
    cp "$here/initramfs/init" "$tree/init"
    chmod +x "$tree/init"
    (cd "$tree" && find . | cpio -o -H newc --quiet | gzip -1) >"$initrd.tmp"
    mv "$initrd.tmp" "$initrd"
fi

# /dev/kvm may exist and still not run an unmodified kernel (a paravirtual KVM
# without vmx/svm hangs in the decompressor), so try it once with a short boot.
if [ ! -f "$work/accel" ]; then
    accel="tcg"
    if [ -w /dev/kvm ]; then
        probe=$work/kvm-probe
        rm -rf "$probe"
        mkdir -p "$probe"/root/{bin,proc}
        cp /bin/busybox "$probe/root/bin/busybox"
        printf '#!/bin/busybox sh\necho KVM-PROBE-BOOTED\n/bin/busybox poweroff -f\n' >"$probe/root/init"
        chmod +x "$probe/root/init"
        (cd "$probe/root" && find . | cpio -o -H newc --quiet | gzip -1) >"$probe/initrd.gz"
        if timeout 30 qemu-system-x86_64 -accel kvm -cpu host -m 256 -smp 1 -display none -monitor none \
            -serial stdio -no-reboot -net none -kernel "$kernel" -initrd "$probe/initrd.gz" \
            -append "console=ttyS0 quiet panic=-1" </dev/null 2>&1 | grep -q KVM-PROBE-BOOTED; then
            accel="kvm"
        fi
        rm -rf "$probe"
    fi
    echo "$accel" >"$work/accel"
fi

echo "usb-midi-vm: ready in $work (kernel $kver, $(cat "$work/accel"))"
