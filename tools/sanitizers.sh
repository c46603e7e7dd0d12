#!/usr/bin/env bash
# The sanitizer builds and a short fuzz run; tools/test.sh runs this after the
# normal suite.
#   tools/sanitizers.sh [fuzz-seconds]     default 60
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/lib.sh"
fuzz_seconds=${1:-${DAVIRODIR_FUZZ_SECONDS:-60}}

echo "== ThreadSanitizer: unit and GUI tests"
"$root/tools/bootstrap.sh" "$root/build-tsan" -DDAVIRODIR_SANITIZE=thread
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/tsan.supp" \
    with_display ctest --test-dir "$root/build-tsan" --output-on-failure -j"$(nproc)" -L unit

echo "== AddressSanitizer + UndefinedBehaviorSanitizer: the whole suite"
"$root/tools/bootstrap.sh" "$root/build-asan" -DDAVIRODIR_SANITIZE="address;undefined" -DDAVIRODIR_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
# JUCE opens the X libraries with dlopen and closes them at exit, which makes
# what they still hold look leaked; loaded up front, they stay.
export LD_PRELOAD="libX11.so.6 libXext.so.6 libXcursor.so.1 libXinerama.so.1 libXrender.so.1 libXrandr.so.2"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The Windows rows test the Windows executable, which no sanitizer builds.
with_display ctest --test-dir "$root/build-asan" --output-on-failure -j"$(nproc)" -LE windows

unset LD_PRELOAD

echo "== fuzzing for ${fuzz_seconds} s"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$root"/tests/fuzz/corpus/* "$corpus"/
"$root/build-asan/tests/davirodir_fuzz" -max_total_time="$fuzz_seconds" -max_len=4096 -print_final_stats=1 \
    "$corpus" 2>&1 | tail -n 12
