#!/usr/bin/env python3
"""The rig tests' images and checks (see run-cases.sh and cases.sh).

  rig.py images <dir>                      writes the images the cases send
  rig.py check <results> <images> <case>   checks one case; exits 1 on a fault
  rig.py table <results> <images>          what each case sent and what arrived
  rig.py colour-lead                       the lead that tells a red or green button
"""
import os
import sys

OVERRUN = "MIDI output buffer overrun"
# The device must hear the end of each message this long before the next begins
# (the updater waits 300 ms; the guest's timers are coarse under emulation).
MIN_GAP_S = 0.25
CLOSE_LIMIT_S = 5.0
UNPLUG_LIMIT_S = 5.0
# The update button is drawn green or red under a glass gradient, paler when
# disabled: the channel that names the colour leads the other by about 48.
COLOUR_LEAD = 24

BUILTIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "firmware", "zodeduri.syx")


def message(n, length):
    """F0 7D <n> <length - 4 data bytes> F7, as the end-to-end tests write them."""
    return bytes([0xF0, 0x7D, n & 0x7F]) + bytes((n + i) & 0x7F for i in range(length - 4)) + b"\xF7"


IMAGES = {
    # Two messages; the second holds an F0 before its F7 and must arrive as sent.
    "joined-block.syx": bytes([0xF0, 0x7D, 0x01, 0xF7, 0xF0, 0x01, 0x02, 0xF0, 0x03, 0xF7]),
    # Just past the kernel's 4096-byte buffer.
    "message-4104.syx": message(0, 4104),
    "messages-16165.syx": message(0, 16165) + message(1, 16165) + message(2, 16165),
    "message-104000.syx": message(0, 104000),
    # Short, for the cases that run through the window.
    "messages-3x40.syx": message(0, 40) + message(1, 40) + message(2, 40),
}

# case: (image, what the case does)
CASES = {
    "joined_block": ("joined-block.syx", "finish"),
    "message_4104": ("message-4104.syx", "finish"),
    "messages_16165": ("messages-16165.syx", "finish"),
    "message_104000": ("message-104000.syx", "finish"),
    "close_mid_message": ("message-104000.syx", "close"),
    "builtin_image": ("builtin", "finish"),
    "unplug_mid_upload": ("messages-16165.syx", "unplug"),
    "hotplug_appears": ("messages-3x40.syx", "appears"),
    "hotplug_disappears": ("messages-3x40.syx", "disappears"),
}

# The update button in the hotplug cases' screenshots, by action: (step, the
# colour it must show, when that was).
BUTTON_STEPS = {
    "appears": [
        ("unplugged", "red", "with no interface and nothing chosen"),
        ("chosen", "green", "once the interface plugged in after the start was chosen"),
    ],
    "disappears": [
        ("chosen", "green", "once the interface was chosen"),
        ("connected", "green", "idle after the update, before the unplug"),
        ("unplugged", "red", "2 s after the interface went"),
        ("replugged", "red", "once it was back: nothing is chosen until the user chooses again"),
    ],
}


def read(path):
    with open(path, "rb") as f:
        return f.read()


def image_bytes(images, name):
    return read(BUILTIN if name == "builtin" else os.path.join(images, name))


def load_result(results, case):
    path = os.path.join(results, case, "result")
    if not os.path.exists(path):
        return None
    values = {}
    for line in open(path, encoding="utf-8"):
        key, _, value = line.strip().partition("=")
        values[key] = value
    return values


def arrivals(log_path):
    """(time, offset, count) of every read on the device side."""
    reads = []
    for line in open(log_path, encoding="utf-8"):
        at, offset, count = line.split("\t")
        reads.append((float(at), int(offset), int(count)))
    return reads


def time_of_byte(reads, index):
    for at, offset, count in reads:
        if offset <= index < offset + count:
            return at
    return None


def message_ends(data):
    """Index of each message's last byte: a message runs from F0 to the first F7."""
    return [i for i, b in enumerate(data) if b == 0xF7]


def overruns(results, case):
    path = os.path.join(results, case, "dmesg.txt")
    if not os.path.exists(path):
        return None
    return sum(OVERRUN in line for line in open(path, encoding="utf-8", errors="replace"))


def seconds(result, key_from, key_to):
    try:
        return float(result[key_to]) - float(result[key_from])
    except (KeyError, ValueError):
        return None


def button_colour(result, step):
    """"red", "green" or what the step's R,G,B shows instead; None without a screenshot."""
    value = result.get(f"button_{step}")
    if not value:
        return None
    try:
        red, green, _ = (int(v) for v in value.split(","))
    except ValueError:
        return value
    if red - green >= COLOUR_LEAD:
        return "red"
    if green - red >= COLOUR_LEAD:
        return "green"
    return f"neither red nor green ({value})"


def ended_after(result, key_from):
    """Seconds from key_from to the updater's end, as noted when it happened."""
    return seconds(result, key_from, "exited_at" if "exited_at" in result else "ended")


def check_identical(got, sent):
    if got == sent:
        return []
    same = next((i for i in range(min(len(got), len(sent))) if got[i] != sent[i]), min(len(got), len(sent)))
    return [f"the device got {len(got)} bytes of the {len(sent)} sent; first difference at byte {same}"]


def check(results, images, case):
    """Returns the faults found; none means the case passed."""
    if case not in CASES:
        return [f"no case {case}"]
    image_name, action = CASES[case]
    result = load_result(results, case)
    if result is None:
        return [f"no result for {case} in {results}: the rig did not run it (see the rig_run test's output)"]
    faults = []
    sent = image_bytes(images, image_name)
    got = read(os.path.join(results, case, "received.syx"))
    status = result.get("status")
    if result.get("received_xruns") not in ("0", None):
        faults.append(f"the recorder lost {result['received_xruns']} bytes itself (a fault of the rig)")

    if action == "finish":
        if status != "0":
            faults.append(f"exit status {status}, expected 0")
        faults += check_identical(got, sent)
        count = overruns(results, case)
        if count:
            faults.append(f"{count} '{OVERRUN}' lines in the kernel log")
        if got == sent:
            reads = arrivals(os.path.join(results, case, "received.log"))
            ends = message_ends(sent)
            short = []
            for n, end in enumerate(ends[:-1]):
                gap = time_of_byte(reads, end + 1) - time_of_byte(reads, end)
                if gap < MIN_GAP_S:
                    short.append(f"{gap * 1000:.0f} ms after message {n + 1}")
            if short:
                faults.append(f"{len(short)} of {len(ends) - 1} pauses shorter than {MIN_GAP_S * 1000:.0f} ms: "
                              + ", ".join(short[:5]))
    elif action == "close":
        took = ended_after(result, "action_at")
        if "action_at" not in result:
            faults.append("the upload never reached the device, so the window was not closed")
        elif status == "killed":
            faults.append("the updater was still running long after its window was closed")
        elif took > CLOSE_LIMIT_S:
            faults.append(f"the updater ended {took:.1f} s after its window was closed (at most {CLOSE_LIMIT_S:.0f} s)")
        if status not in ("2", "killed"):
            faults.append(f"exit status {status}, expected 2 (closed before the whole image was sent)")
        if sent[: len(got)] != got or len(got) >= len(sent):
            faults.append(f"the device got {len(got)} bytes, which are not the start of the image cut short")
    elif action == "unplug":
        took = ended_after(result, "action_at")
        if "action_at" not in result:
            faults.append("the upload never reached the device, so it was not unplugged")
        elif status == "killed":
            faults.append("the updater was still running long after the interface was unplugged")
        elif took > UNPLUG_LIMIT_S:
            faults.append(f"the updater ended {took:.1f} s after the unplug (at most {UNPLUG_LIMIT_S:.0f} s)")
        if status != "3":
            faults.append(f"exit status {status}, expected 3 (a send failed)")
        if sent[: len(got)] != got or len(got) >= len(sent):
            faults.append(f"before the unplug the device got {len(got)} bytes, not the start of the image")
        after = result.get("after_bytes")
        if after is None:
            faults.append("the interface was not plugged in again, so nothing could be checked after the failure")
        elif after != "0":
            faults.append(f"{after} bytes reached the device after the failure")
    elif action in BUTTON_STEPS:
        faults += [f"after update was clicked, {fault}" for fault in check_identical(got, sent)]
        for step, colour, meaning in BUTTON_STEPS[action]:
            shown = button_colour(result, step)
            if shown is None:
                faults.append(f"no screenshot of the update button {meaning} (step {step})")
            elif shown != colour:
                faults.append(f"the update button was {shown} {meaning}, expected {colour} ({step}.png)")
        if status != "running":
            faults.append(f"the updater ended (status {status}) while it should have kept running")
        count = overruns(results, case)
        if count:
            faults.append(f"{count} '{OVERRUN}' lines in the kernel log")
        if action == "disappears":
            after = result.get("after_bytes")
            if after is None:
                faults.append("the interface was not plugged in again, so the update could not be clicked then")
            elif after != "0":
                faults.append(f"{after} bytes reached the device when update was clicked after it came back")
    return faults


def table(results, images):
    print("| case | sent | arrived at the device | exit status | overrun lines | run time |")
    print("|---|---|---|---|---|---|")
    for case, (image_name, action) in CASES.items():
        result = load_result(results, case)
        if result is None:
            print(f"| {case} | | not run | | | |")
            continue
        sent = image_bytes(images, image_name)
        got = read(os.path.join(results, case, "received.syx"))
        arrived = f"{len(got)} B" + (" identical" if got == sent else "")
        if action in ("unplug", "disappears"):
            arrived += f", then {result.get('after_bytes', '?')} B after replugging"
        if action in BUTTON_STEPS:
            arrived += "; button " + ", ".join(
                f"{step} {button_colour(result, step)}" for step, _, _ in BUTTON_STEPS[action])
        note = ""
        if action in ("close", "unplug") and "action_at" in result:
            note = f", ended {ended_after(result, 'action_at'):.1f} s after the {action}"
        print(f"| {case} | {len(sent)} B | {arrived} | {result.get('status')}{note} | "
              f"{overruns(results, case)} | {seconds(result, 'started', 'ended'):.1f} s |")


def main(argv):
    if len(argv) == 3 and argv[1] == "images":
        os.makedirs(argv[2], exist_ok=True)
        for name, data in IMAGES.items():
            with open(os.path.join(argv[2], name), "wb") as f:
                f.write(data)
        return 0
    if len(argv) == 5 and argv[1] == "check":
        faults = check(argv[2], argv[3], argv[4])
        for fault in faults:
            print(f"{argv[4]}: {fault}")
        if not faults:
            print(f"{argv[4]}: passed")
        return 1 if faults else 0
    if len(argv) == 4 and argv[1] == "table":
        table(argv[2], argv[3])
        return 0
    if len(argv) == 2 and argv[1] == "colour-lead":
        print(COLOUR_LEAD)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
