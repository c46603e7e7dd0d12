#!/usr/bin/env bash
# Times a whole automatic update of the real executable under Xvfb against a
# virtual MIDI port paced like a cable (31250 bit/s), and checks the figures
# against their targets.
#   tools/benchmark.sh [N]        a generated image of N messages of 504 bytes (default 20)
#   tools/benchmark.sh --builtin  the built-in image (543 messages, about 4 minutes)
# Environment: DAVIRODIR_BUILD_DIR (default build), BENCH_MESSAGE_BYTES (default 504).
# Exit status 0 when every target is met and the port got exactly the image.
#
# Overhead per message = (measured - lower bound - start-up) / N, where
#   measured   = process start to process exit,
#   start-up   = process start to its window on screen (polled every 10 ms),
#   lower bound = 320 us for every byte + N x 300 ms + the 2000 ms wait + the 5000 ms pause.
# Shutting down counts as overhead. The figure from the capture log alone
# (first send to last, less wire time and pauses) is printed alongside.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/lib.sh"
build=${DAVIRODIR_BUILD_DIR:-"$root/build"}

if [ -z "${DAVIRODIR_BENCHMARK_UNDER_XVFB:-}" ]; then
    mode=${1:-20}
    if [ "$mode" != "--builtin" ] && ! [[ "$mode" =~ ^[1-9][0-9]*$ ]]; then
        echo "usage: $0 [N | --builtin]" >&2
        exit 2
    fi
    "$root/tools/bootstrap.sh" "$build" >/dev/null
    install_missing time
    # A display of its own, so that nothing else on screen takes part. The
    # verdict comes back in a file: xvfb-run's own status may be of its cleanup.
    verdict_file=$(mktemp)
    trap 'rm -f "$verdict_file"' EXIT
    DAVIRODIR_BENCHMARK_UNDER_XVFB=$verdict_file DISPLAY= with_display "$0" "$@" || true
    verdict=$(cat "$verdict_file")
    [ "$verdict" = pass ] || { echo "(verdict: ${verdict:-the benchmark did not finish})"; exit 1; }
    exit 0
fi

mode=${1:-20}
app=$(app_in "$build")
length=${BENCH_MESSAGE_BYTES:-504}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
port="Benchmark port"
log="$work/capture/$port.log"

if [ "$mode" = "--builtin" ]; then
    image="$root/firmware/zodeduri.syx"
    file_args=()
    label="built-in image"
else
    image="$work/image.syx"
    perl -e 'binmode STDOUT; my ($n, $len) = @ARGV;
             for my $i (0 .. $n - 1) {
                 print "\xF0\x7D", chr($i & 0x7F), map({ chr(($i + $_) & 0x7F) } 0 .. $len - 5), "\xF7";
             }' "$mode" "$length" >"$image"
    file_args=(--file "$image")
    label="generated image, $mode messages of $length bytes"
fi
messages=$(LC_ALL=C tr -cd '\367' <"$image" | wc -c)
bytes=$(stat -c %s "$image")

# One instance per machine: another one would make ours end at once.
lockHolder() {
    local f inode
    for f in /var/tmp/juceAppLock_Davirodir*; do
        [ -e "$f" ] || continue
        inode=$(stat -c %i "$f")
        awk -v inode="$inode" '$2 == "POSIX" { n = split($6, id, ":"); if (id[n] == inode) { print $5; exit } }' /proc/locks
    done
}
waited=0
while holder=$(lockHolder) && [ -n "$holder" ]; do
    [ "$waited" -eq 0 ] && echo "waiting for another Davirodir (pid $holder) to end..."
    waited=$((waited + 1))
    if [ "$waited" -gt 600 ]; then
        echo "another Davirodir (pid $holder) still holds the one-instance lock; no benchmark" >&2
        echo "another instance held the lock" >"$DAVIRODIR_BENCHMARK_UNDER_XVFB"
        exit 1
    fi
    sleep 1
done

now_ms() { echo $(($(date +%s%N) / 1000000)); }

export DAVIRODIR_VIRTUAL_MIDI_OUTPUTS="$port"
export DAVIRODIR_VIRTUAL_MIDI_CAPTURE="$work/capture"
export DAVIRODIR_VIRTUAL_MIDI_BAUD=31250

started=$(now_ms)
# The progress lines go to a file: the figures below are what matters here.
/usr/bin/time -f '%U %S %M' -o "$work/rusage" "$app" --autoupdate --outputid 1 "${file_args[@]}" >"$work/progress" &
timer=$!

window_ms=""
pid=""
while kill -0 "$timer" 2>/dev/null; do
    [ -n "$pid" ] || pid=$(awk '{ print $1 }' "/proc/$timer/task/$timer/children" 2>/dev/null)
    if [ -n "$pid" ] && [ -n "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null)" ]; then
        window_ms=$(($(now_ms) - started))
        break
    fi
    sleep 0.01
done
status=0
wait "$timer" || status=$?
measured_ms=$(($(now_ms) - started))

read -r user_s sys_s maxrss_kib <"$work/rusage" || true
received=0
[ -f "$log" ] && received=$(wc -l <"$log")
identical=no
[ -f "$work/capture/$port.syx" ] && cmp -s "$image" "$work/capture/$port.syx" && identical=yes

all_pass=1
check() { # awk condition; sets verdict
    if awk "BEGIN { exit !($1) }"; then verdict=PASS; else
        verdict=FAIL
        all_pass=0
    fi
}

lower_ms=$(awk -v b="$bytes" -v n="$messages" 'BEGIN { printf "%.1f", b * 0.32 + n * 300 + 2000 + 5000 }')
startup_ms=${window_ms:-0}
overhead=$(awk -v m="$measured_ms" -v l="$lower_ms" -v s="$startup_ms" -v n="$messages" \
    'BEGIN { printf "%.2f", (m - l - s) / n }')
read -r min_gap max_gap in_run <<<"$(awk -F'\t' -v wire=0.32 '
    { n++; wireTotal += $3 * wire; if (n == 1) first = $1; else { g = $1 - lastEnd; if (min == "" || g < min) min = g; if (g > max) max = g } lastEnd = $2 }
    END { if (n < 2) { print "nan nan nan"; exit }
          printf "%.1f %.1f %.2f\n", min, max, (lastEnd - first - wireTotal - (n - 1) * 300) / (n - 1) }' "$log" 2>/dev/null || echo "nan nan nan")"
cpu_s=$(awk -v u="$user_s" -v s="$sys_s" 'BEGIN { printf "%.2f", u + s }')
cpu_pct=$(awk -v c="$cpu_s" -v m="$measured_ms" 'BEGIN { printf "%.2f", 100 * c * 1000 / m }')
peak_mib=$(awk -v k="$maxrss_kib" 'BEGIN { printf "%.1f", k / 1024 }')

echo "Davirodir upload benchmark: $label, virtual port at 31250 bit/s"
row() { printf '  %-36s %s\n' "$1" "$2"; }
row "messages:" "$messages"
row "bytes:" "$bytes"
row "received by the port:" "$received messages, identical to the image: $identical"
row "exit status:" "$status"
row "lower bound:" "$lower_ms ms"
row "measured (start to exit):" "$measured_ms ms"
row "start-up (start to window shown):" "${window_ms:-never} ms"
check "$overhead < 0.5"
row "overhead per message:" "$overhead ms  $verdict (target < 0.5 ms)"
row "  in the run alone (capture log):" "$in_run ms"
if [ "$min_gap" = nan ]; then verdict=FAIL all_pass=0; else check "$min_gap >= 300"; fi
row "shortest gap between messages:" "$min_gap ms  $verdict (target >= 300 ms)"
row "longest gap between messages:" "$max_gap ms"
check "$cpu_pct < 0.5"
row "CPU used (user + sys):" "$cpu_s s (user $user_s, sys $sys_s) = $cpu_pct % of wall  $verdict (target < 0.5 %)"
check "$peak_mib < 60"
row "peak memory (max RSS):" "$peak_mib MiB  $verdict (target < 60 MiB)"

[ "$status" -eq 0 ] && [ "$identical" = yes ] && [ "$received" -eq "$messages" ] || all_pass=0
if [ "$all_pass" -eq 1 ]; then echo pass; else echo "some target missed"; fi >"$DAVIRODIR_BENCHMARK_UNDER_XVFB"
