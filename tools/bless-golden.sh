#!/usr/bin/env bash
# Rewrites the golden reference pictures under tests/golden/ from what the
# code draws now, after a deliberate change of the drawing. Look at every
# rewritten picture (git status, an image viewer) before committing it.
#   tools/bless-golden.sh [build-dir]     (default: build)
# Without blessing, the golden tests run with the rest of the suite, or alone:
#   ctest --test-dir build -R '^Golden'
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tools/lib.sh"
build=${1:-"$root/build"}

"$root/tools/bootstrap.sh" "$build" >/dev/null
cmake --build "$build" --target davirodir_tests

DAVIRODIR_BLESS=1 with_display "$build/tests/davirodir_tests" --gtest_filter='Golden*'
git -C "$root" status --short -- tests/golden
