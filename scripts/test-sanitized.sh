#!/usr/bin/env bash
# Builds Orvane with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-asan and runs every test there. Any leak, memory error or undefined
# behaviour fails the test it happens in. Extra arguments go to ctest
# (e.g. -R tst_playlist). Takes about twice as long as scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
scripts/deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVANE_SANITIZE=ON -DORVANE_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"

# GStreamer's plug-ins are loaded with dlopen and built without frame
# pointers: the slow unwinder gives leak reports whole stacks through them.
export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
cd build-asan
ctest --output-on-failure -j"$(nproc)" "$@"
