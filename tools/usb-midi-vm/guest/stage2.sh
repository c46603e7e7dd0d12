#!/usr/bin/env bash
# Runs as PID 1 in the guest, on the host's (overlaid) root: runs the script that
# run.sh named (rig.script=) with the variables run.sh passed in /mnt/out/rig-env.sh,
# writes its exit status to /mnt/out/status, and powers off. Without a script it
# opens a shell on the serial console.
set -euo pipefail
# PID 1 must not just exit: the guest powers off whatever happens.
trap 'sync; busybox poweroff -f' EXIT
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export HOME=/root TERM=dumb LANG=C.UTF-8
mount -t tmpfs tmpfs /run
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
arg() { tr ' ' '\n' </proc/cmdline | sed -n "s/^$1=//p" | head -1; }
RIG_DIR=$(arg rig.dir)
RIG_WORK=$(arg rig.work)
RIG_OUT=/mnt/out
export RIG_DIR RIG_WORK RIG_OUT
script=$(arg rig.script)
echo "usb-midi-vm: guest up after $(cut -d' ' -f1 /proc/uptime) s, kernel $(uname -r)"
if [ -f "$RIG_OUT/rig-env.sh" ]; then
    # shellcheck source=/dev/null
    . "$RIG_OUT/rig-env.sh"
fi
if [ -n "$script" ]; then
    status=0
    bash "$script" 2>&1 | tee "$RIG_OUT/guest.log" || status=$?
    echo "usb-midi-vm: guest script ended with status $status after $(cut -d' ' -f1 /proc/uptime) s"
    echo "$status" >"$RIG_OUT/status"
else
    echo "usb-midi-vm: no script; a shell on the console (exit powers off)"
    setsid bash -i </dev/ttyS0 >/dev/ttyS0 2>&1 || true
fi
