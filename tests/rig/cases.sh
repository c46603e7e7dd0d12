#!/usr/bin/env bash
# Guest script of the rig tests (run by tools/usb-midi-vm/run.sh, see run-cases.sh):
# runs the real updater under Xvfb against the emulated USB MIDI interface, one
# case after another, and leaves for each case in $RIG_OUT/<case>/:
#   received.syx/.log  what the device got, with per-read arrival times (midirecord)
#   after.syx/.log     (unplug, disappears) what the device got once plugged in again
#   result             key=value lines: exit status, times (seconds since boot), xruns;
#                      (hotplug cases) the update button's colour at each step
#   <step>.png         (hotplug cases) the main window at each step
#   dmesg.txt, app.log the kernel's and the updater's messages during the case
# Takes RIG_APP (the executable), RIG_IMAGES (the images of run-cases.sh),
# RIG_COLOUR_LEAD (rig.py's rule for a red or green button) and RIG_CASES
# (names of the cases to run, blank-separated; default: all).
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

# Notes in the result file when the process ends (exited_at=); a zombie has ended.
watch_exit() { # pid, result file
    local state=R _
    while read -r _ _ state _ 2>/dev/null <"/proc/$1/stat" && [ "$state" != Z ]; do
        sleep 0.1
    done
    echo "exited_at=$(now)" >>"$2"
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
    id=$(main_window "$1" 0) || return 1
    click_in "$id" -20 17
}

# The updater's main window (its title holds the version), once visible; false
# after $2 seconds without it.
main_window() { # pid, seconds
    local give_up=$(($(now_cs) + $2 * 100)) id
    while :; do
        for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            if xdotool getwindowname "$id" | grep -q version; then
                echo "$id"
                return 0
            fi
        done
        [ "$(now_cs)" -ge "$give_up" ] && return 1
        sleep 0.2
    done
}

# Clicks at a point of a window; a negative x counts from its right edge.
click_in() { # window, x, y
    # shellcheck disable=SC2034 # set by xdotool's output, not all used
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    local x=$2
    [ "$x" -lt 0 ] && x=$((WIDTH + x))
    xdotool mousemove $((X + x)) $((Y + $3)) click 1
}

# Where the panel's controls are in the main window (its title bar is 26 pixels
# high), and a patch of the update button's face left of its caption.
title_bar=26
selector_x=325 selector_y=$((title_bar + 140))
update_x=593 update_y=$((title_bar + 230))
button_patch=8x6+549+253

# Chooses the n-th port through the output selector: its popup lists
# "(Disconnected)" (highlighted while chosen), then the ports in order.
choose_output() { # pid, window, n
    click_in "$2" "$selector_x" "$selector_y"
    # The popup is a window of its own.
    for _ in $(seq 1 50); do
        [ "$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l)" -ge 2 ] && break
        sleep 0.1
    done
    sleep 0.3
    # One xdotool for all keys: each start of a process takes most of a second here.
    local keys=()
    for _ in $(seq 1 "$3"); do
        keys+=(Down)
    done
    xdotool key --delay 300 "${keys[@]}" Return
    # A click while the popup is still up would only close it.
    for _ in $(seq 1 100); do
        [ "$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l)" -le 1 ] && break
        sleep 0.1
    done
    sleep 1
}

# The mean colour of the update button's patch, "R,G,B"; keeps the screenshot.
patch_colour() { # window, screenshot file
    import -window "$1" "$2"
    convert "$2" -crop "$button_patch" +repage -resize '1x1!' -depth 8 txt:- |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# The patch's colour once it shows a red or a green face (by rig.py's lead,
# RIG_COLOUR_LEAD), or the last reading after 10 s. Under TCG the window can take
# seconds to redraw where a closed popup was: a single look once read near-white
# (the popup's face) instead of the button.
button_colour() { # window, screenshot file
    local give_up=$(($(now_cs) + 1000)) colour r g _ looks=0
    while :; do
        colour=$(patch_colour "$1" "$2")
        looks=$((looks + 1))
        IFS=, read -r r g _ <<<"$colour"
        if [ $((r - g)) -ge "$RIG_COLOUR_LEAD" ] || [ $((g - r)) -ge "$RIG_COLOUR_LEAD" ]; then
            break
        fi
        [ "$(now_cs)" -ge "$give_up" ] && break
        sleep 0.5
    done
    [ "$looks" -eq 1 ] || echo "rig: $(basename "$2") showed $colour after $looks looks" >&2
    echo "$colour"
}

wait_port_gone() { # seconds
    local give_up=$(($(now_cs) + $1 * 100))
    while grep -q '"Zodeduri"' /proc/asound/seq/clients; do
        [ "$(now_cs)" -ge "$give_up" ] && return 1
        sleep 0.1
    done
}

# Waits until the device has received $2 bytes; false after $3 s.
wait_for_bytes() { # recorder bytes file, count, seconds
    local give_up=$(($(now_cs) + $3 * 100))
    while [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -lt "$2" ]; do
        [ "$(now_cs)" -ge "$give_up" ] && return 1
        sleep 0.2
    done
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
    # The unplug case plugs the interface in again before it waits for the
    # updater, so the time the updater ends is noted as it happens.
    watch_exit "$app" "$result" &
    local watcher=$!

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
    wait "$watcher" 2>/dev/null || true
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

# The interface coming and going while the updater is open and idle (no
# --autoupdate: ports are chosen through the selector, as a user would):
#   appears     started with the interface off the bus; plugged in, chosen, updated
#   disappears  chosen and updated; taken off the bus, then plugged in again and
#               update clicked: the choice is gone, so the device must hear nothing
# Besides the recorder's files, the result holds the update button's colour at
# each step (button_<step>=R,G,B; screenshots <step>.png).
run_hotplug_case() { # name, image, action
    local name=$1 image=$2 action=$3
    local dir=$RIG_OUT/$name rec=/tmp/rec-$name
    local result=$dir/result size app window id
    mkdir -p "$dir"
    size=$(stat -c %s "$RIG_IMAGES/$image")
    echo "== $name: $image, $action"
    dmesg -C
    echo "image=$image" >"$result"
    if [ "$action" = appears ]; then
        rig_unplug
        wait_port_gone 30 || {
            echo "rig: the Zodeduri port did not go"
            return 1
        }
    else
        rig_wait_port 30 || return 1
    fi
    echo "started=$(now)" >>"$result"
    "$RIG_APP" --file "$RIG_IMAGES/$image" >"$dir/app.log" 2>&1 &
    app_pid=$!
    app=$app_pid
    window=$(main_window "$app" 60) || {
        echo "rig: no main window" | tee -a "$dir/app.log"
        return 1
    }
    sleep 1 # drawn
    if [ "$action" = appears ]; then
        echo "button_unplugged=$(button_colour "$window" "$dir/unplugged.png")" >>"$result"
        echo "plugged_at=$(now)" >>"$result"
        rig_plug
        rig_wait_port 30 || return 1
        echo "port_at=$(now)" >>"$result"
        sleep 2 # the updater looks twice a second
    fi
    start_recorder "$rec" || return 1
    id=$(rig_output_id)
    echo "port=$(rig_port)" >>"$result"
    echo "output_id=$id" >>"$result"
    choose_output "$app" "$window" "$id"
    echo "button_chosen=$(button_colour "$window" "$dir/chosen.png")" >>"$result"
    echo "update_at=$(now)" >>"$result"
    click_in "$window" "$update_x" "$update_y"
    wait_for_bytes "$rec.syx" "$size" 30 || echo "rig: the image did not reach the device" | tee -a "$dir/app.log"
    echo "received_at=$(now)" >>"$result"

    if [ "$action" = disappears ]; then
        sleep 6 # the updater's pause after the last message: then it is idle
        echo "button_connected=$(button_colour "$window" "$dir/connected.png")" >>"$result"
        echo "action_at=$(now)" >>"$result"
        rig_unplug
        wait_port_gone 30 || {
            echo "rig: the Zodeduri port did not go"
            return 1
        }
        echo "port_gone_at=$(now)" >>"$result"
        stop_recorder "$result" received
        sleep 2
        echo "button_unplugged=$(button_colour "$window" "$dir/unplugged.png")" >>"$result"
        rig_plug
        rig_wait_port 30 || return 1
        echo "replugged_at=$(now)" >>"$result"
        echo "port_replugged=$(rig_port)" >>"$result"
        start_recorder "/tmp/after-$name" || return 1
        sleep 2
        echo "button_replugged=$(button_colour "$window" "$dir/replugged.png")" >>"$result"
        click_in "$window" "$update_x" "$update_y"
        sleep 2 # the image would start arriving within half a second
    fi

    sleep 1 # bytes still on their way
    if kill -0 "$app" 2>/dev/null; then
        echo "status=running" >>"$result"
    else
        local status=0
        wait "$app" || status=$?
        echo "status=$status" >>"$result"
    fi
    kill -TERM "$app" 2>/dev/null || true
    wait_for_exit "$app" 10 || kill -KILL "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    echo "ended=$(now)" >>"$result"
    if [ "$action" = disappears ]; then
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

# name              image              action  seconds allowed for the run (autoupdate)
cases=(
    "joined_block     joined-block.syx   finish  120"
    "message_4104     message-4104.syx   finish  120"
    "messages_16165   messages-16165.syx finish  120"
    "message_104000   message-104000.syx finish  180"
    "close_mid_message message-104000.syx close  60"
    "builtin_image    builtin            finish  480"
    "unplug_mid_upload messages-16165.syx unplug 60"
    "hotplug_appears  messages-3x40.syx  appears -"
    "hotplug_disappears messages-3x40.syx disappears -"
)
for c in "${cases[@]}"; do
    # shellcheck disable=SC2086 # one case's fields
    set -- $c
    selected "$1" || continue
    runner=run_case
    case "$3" in appears | disappears) runner=run_hotplug_case ;; esac
    if ! "$runner" "$@"; then
        echo "rig: case $1 could not run"
        kill -KILL "$app_pid" "$rec_pid" 2>/dev/null || true
    fi
done
echo "rig: all cases done"
