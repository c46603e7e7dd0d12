#!/usr/bin/env bash
# Runs as PID 1 in the guest, on the host's (overlaid) root: runs the script that
# run.sh named (rig.script=) with the variables run.sh passed in /mnt/out/rig-env.sh,
# writes its exit status to /mnt/out/status, and powers off. Without a script it
# opens a shell on the serial console.
set -uo pipefail
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
# shellcheck source=/dev/null
[ -f "$RIG_OUT/rig-env.sh" ] && . "$RIG_OUT/rig-env.sh"
if [ -n "$script" ]; then
    bash "$script" 2>&1 | tee "$RIG_OUT/guest.log"
    status=${PIPESTATUS[0]}
    echo "usb-midi-vm: guest script ended with status $status after $(cut -d' ' -f1 /proc/uptime) s"
    echo "$status" >"$RIG_OUT/status"
else
    echo "usb-midi-vm: no script; a shell on the console (exit powers off)"
    setsid bash -i </dev/ttyS0 >/dev/ttyS0 2>&1
fi
sync
busybox poweroff -f
