#!/usr/bin/env bash
# Guest script of the rig tests (run by tools/usb-midi-vm/run.sh, see run-cases.sh):
# runs the real updater under Xvfb against the emulated USB MIDI interface, one
# case after another, and leaves for each case in $RIG_OUT/<case>/:
#   received.syx/.log  what the device got, with per-read arrival times (midirecord)
#   after.syx/.log     (unplug) what the device got once plugged in again
#   result             key=value lines: exit status, times (seconds since boot), xruns
#   dmesg.txt, app.log the kernel's and the updater's messages during the case
# Takes RIG_APP (the executable), RIG_IMAGES (the images of run-cases.sh) and
# RIG_CASES (names of the cases to run, blank-separated; default: all).
set -euo pipefail

# shellcheck disable=SC1091 # the rig's own, found through RIG_DIR in the guest
. "$RIG_DIR/guest/gadget.sh"
recorder=$RIG_WORK/bin/midirecord
app_pid=
rec_pid=

now() {
    local up _
    read -r up _ </proc/uptime
    echo "$up"
}

display_fd=$(mktemp)
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$display_fd" >/tmp/xvfb.log 2>&1 &
for _ in $(seq 1 100); do
    [ -s "$display_fd" ] && break
    sleep 0.2
done
[ -s "$display_fd" ] || {
    echo "rig: Xvfb did not start"
    cat /tmp/xvfb.log
    exit 1
}
DISPLAY=:$(head -1 "$display_fd")
export DISPLAY

# Centiseconds since boot, without starting a process (they start slowly here).
now_cs() {
    local up _
    read -r up _ </proc/uptime
    echo $((10#${up/./}))
}

# Starts the recorder on the device side; waits until it has the port open.
start_recorder() { # output prefix
    rec_prefix=$1
    "$recorder" "$RIG_DEVICE_MIDI" "$rec_prefix" >"$rec_prefix.out" 2>&1 &
    rec_pid=$!
    for _ in $(seq 1 100); do
        grep -q READY "$rec_prefix.out" && return 0
        kill -0 "$rec_pid" 2>/dev/null || break
        sleep 0.2
    done
    echo "rig: the recorder did not start on $RIG_DEVICE_MIDI: $(cat "$rec_prefix.out")"
    return 1
}

# Stops the recorder (if the device going away has not) and notes its summary.
stop_recorder() { # result file, key prefix
    kill -TERM "$rec_pid" 2>/dev/null || true
    wait "$rec_pid" 2>/dev/null || true
    # "midirecord: bytes N xruns X end R"
    # shellcheck disable=SC2046 # the summary's words
    set -- "$1" "$2" $(grep '^midirecord: bytes' "$rec_prefix.out" || true)
    {
        echo "${2}_bytes=${5:-}"
        echo "${2}_xruns=${7:-}"
        echo "${2}_end=${9:-}"
    } >>"$1"
}

# Waits until the device has been receiving for $2 seconds; false after $3 s without a byte.
wait_into_upload() { # recorder log, seconds after the first byte, give up after
    local give_up=$(($(now_cs) + $3 * 100)) first _
    while [ ! -s "$1" ]; do
        [ "$(now_cs)" -ge "$give_up" ] && return 1
        sleep 0.1
    done
    read -r first _ <"$1"
    first=${first%.*}
    while [ "$(now_cs)" -lt $(((first + $2) * 100)) ]; do
        sleep 0.1
    done
}

wait_for_exit() { # pid, seconds; true when it ended
    local give_up=$(($(now_cs) + $2 * 100))
    while kill -0 "$1" 2>/dev/null; do
        [ "$(now_cs)" -ge "$give_up" ] && return 1
        sleep 0.1
    done
}

# Clicks the close button drawn at the right end of the main window's title bar.
close_window() { # pid
    local id
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        if xdotool getwindowname "$id" | grep -q version; then
            eval "$(xdotool getwindowgeometry --shell "$id")"
            # shellcheck disable=SC2153 # X, Y and WIDTH come from xdotool
            xdotool mousemove $((X + WIDTH - 20)) $((Y + 17)) click 1
            return 0
        fi
    done
    return 1
}

run_case() { # name, image file or "builtin", action (finish | close | unplug), seconds allowed
    local name=$1 image=$2 action=$3 allowed=$4
    local dir=$RIG_OUT/$name rec=/tmp/rec-$name
    local result=$dir/result
    mkdir -p "$dir"
    echo "== $name: $image, $action"
    dmesg -C
    start_recorder "$rec" || return 1

    local id
    id=$(rig_output_id)
    local args=(--autoupdate --outputid "$id")
    if [ "$image" != builtin ]; then
        args+=(--file "$RIG_IMAGES/$image")
    fi
    {
        echo "image=$image"
        echo "output_id=$id"
        echo "port=$(rig_port)"
        echo "started=$(now)"
    } >"$result"
    "$RIG_APP" "${args[@]}" >"$dir/app.log" 2>&1 &
    app_pid=$!
    local app=$app_pid

    case "$action" in
    close)
        if wait_into_upload "$rec.log" 3 60; then
            echo "action_at=$(now)" >>"$result"
            close_window "$app" || echo "rig: no main window to close" | tee -a "$dir/app.log"
        else
            echo "rig: nothing reached the device" | tee -a "$dir/app.log"
        fi
        ;;
    unplug)
        if wait_into_upload "$rec.log" 7 60; then
            echo "action_at=$(now)" >>"$result"
            rig_unplug
            # Plugged in again once the computer has seen it go: from then on the
            # device must hear nothing more.
            for _ in $(seq 1 100); do
                grep -q '"Zodeduri"' /proc/asound/seq/clients || break
                sleep 0.1
            done
            echo "port_gone_at=$(now)" >>"$result"
            stop_recorder "$result" received
            sleep 1
            rig_plug
            rig_wait_port 30 || return 1
            echo "replugged_at=$(now)" >>"$result"
            echo "port_replugged=$(rig_port)" >>"$result"
            start_recorder "/tmp/after-$name" || return 1
        else
            echo "rig: nothing reached the device" | tee -a "$dir/app.log"
        fi
        ;;
    esac

    local status=0
    if wait_for_exit "$app" "$allowed"; then
        wait "$app" || status=$?
    else
        echo "rig: the updater still ran after $allowed s; killed" | tee -a "$dir/app.log"
        kill -KILL "$app" || true
        wait "$app" 2>/dev/null || true
        status=killed
    fi
    echo "ended=$(now)" >>"$result"
    echo "status=$status" >>"$result"
    sleep 1 # bytes still on their way
    if [ "$rec_prefix" = "/tmp/after-$name" ]; then
        stop_recorder "$result" after
        cp "/tmp/after-$name.syx" "$dir/after.syx"
        cp "/tmp/after-$name.log" "$dir/after.log"
    else
        stop_recorder "$result" received
    fi
    cp "$rec.syx" "$dir/received.syx"
    cp "$rec.log" "$dir/received.log"
    dmesg >"$dir/dmesg.txt"
    echo "$name: $(tr '\n' ' ' <"$result")"
}

selected() { [ -z "${RIG_CASES:-}" ] || [[ " $RIG_CASES " == *" $1 "* ]]; }

# name              image              action  seconds allowed for the run
cases=(
    "joined_block     joined-block.syx   finish  120"
    "message_4104     message-4104.syx   finish  120"
    "messages_16165   messages-16165.syx finish  120"
    "message_104000   message-104000.syx finish  180"
    "close_mid_message message-104000.syx close  60"
    "builtin_image    builtin            finish  480"
    "unplug_mid_upload messages-16165.syx unplug 60"
)
for c in "${cases[@]}"; do
    # shellcheck disable=SC2086 # one case's fields
    set -- $c
    selected "$1" || continue
    if ! run_case "$@"; then
        echo "rig: case $1 could not run"
        kill -KILL "$app_pid" "$rec_pid" 2>/dev/null || true
    fi
done
echo "rig: all cases done"
