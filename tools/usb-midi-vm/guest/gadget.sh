#!/usr/bin/env bash
# Source in the guest: builds the emulated USB MIDI interface and plugs it in.
#   dummy_hcd (a virtual USB bus) <-> a configfs gadget with one usb_f_midi function
#   (the device side, card "Gadget"), enumerated by snd-usb-audio + snd-seq-midi as a
#   Debian computer would enumerate a real one (its product "Zodeduri").
# Afterwards: RIG_UDC (the gadget's UDC file; write "" to unplug, dummy_udc.0 to
# plug in again), RIG_DEVICE_MIDI (the device side's rawmidi, for midirecord) and
# the functions rig_plug, rig_unplug, rig_wait_port, rig_output_id.

modprobe dummy_hcd
modprobe libcomposite
modprobe usb_f_midi
mountpoint -q /sys/kernel/config || mount -t configfs none /sys/kernel/config
modprobe snd-seq
modprobe snd-seq-midi
modprobe snd-usb-audio

gadget=/sys/kernel/config/usb_gadget/zodeduri
mkdir -p "$gadget/strings/0x409" "$gadget/configs/c.1/strings/0x409" "$gadget/functions/midi.usb0"
echo 0x1d6b >"$gadget/idVendor" # Linux Foundation: a test id, not a product's
echo 0x0104 >"$gadget/idProduct"
echo "Davirodir rig" >"$gadget/strings/0x409/manufacturer"
echo "Zodeduri" >"$gadget/strings/0x409/product"
echo "0001" >"$gadget/strings/0x409/serialnumber"
echo "MIDI" >"$gadget/configs/c.1/strings/0x409/configuration"
echo Gadget >"$gadget/functions/midi.usb0/id"
echo 1 >"$gadget/functions/midi.usb0/in_ports"
echo 1 >"$gadget/functions/midi.usb0/out_ports"
ln -sf "$gadget/functions/midi.usb0" "$gadget/configs/c.1/"

RIG_UDC=$gadget/UDC
RIG_DEVICE_MIDI=hw:Gadget,0
export RIG_UDC RIG_DEVICE_MIDI

# The computer's sequencer port for the interface, "client:port", or nothing.
rig_port() {
    awk '/^Client/ { client = $2; zodeduri = ($0 ~ /"Zodeduri"/) }
         zodeduri && /^  Port/ { print client ":" $2; exit }' /proc/asound/seq/clients
}

# Seconds since boot, without starting a process (they start slowly in the guest).
rig_now() {
    local up _
    read -r up _ </proc/uptime
    echo "$up"
}

# Waits (up to $1 s, default 20) until the computer lists the interface's port.
rig_wait_port() {
    local up _ until
    read -r up _ </proc/uptime
    until=$((${up%.*} + ${1:-20}))
    while [ "${up%.*}" -lt "$until" ]; do
        grep -q '"Zodeduri"' /proc/asound/seq/clients 2>/dev/null && return 0
        sleep 0.2
        read -r up _ </proc/uptime
    done
    echo "rig: the computer never listed the Zodeduri port" >&2
    cat /proc/asound/cards /proc/asound/seq/clients >&2
    return 1
}

rig_plug() { echo dummy_udc.0 >"$RIG_UDC"; }
rig_unplug() { echo "" >"$RIG_UDC"; }

# The interface's position (from 1) among the ports the updater lists: ports that
# take subscriptions for writing, clients in order from 1, ports in order (the
# System client 0 is not listed).
rig_output_id() {
    awk '/^Client/ { client = $2 + 0; zodeduri = ($0 ~ /"Zodeduri"/) }
         /^  Port/ && client > 0 {
             flags = $0; sub(/.*\(/, "", flags)
             if (substr(flags, 2, 1) == "W") { n++; if (zodeduri) { print n; exit } }
         }' /proc/asound/seq/clients
}

rig_plug
rig_wait_port 30
