#!/bin/sh
# CI: the whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer,
# then the device-link, end-to-end and record writer tests (the acquisition and writer
# threads against the GUI thread) with ThreadSanitizer. Any report fails its test.
# Build folders: ./build-asan and ./build-tsan, or $QUELMAR_ASAN_DIR and
# $QUELMAR_TSAN_DIR.
#
# Qt and libmodbus are used as installed, uninstrumented. ThreadSanitizer therefore
# checks the accesses of our code only: it is told to pass over the C library calls
# (memmove, delete, pthread condition objects) that Qt makes on its own memory under
# its own, invisible locks, and tests/sanitizers/tsanqmutex.cpp shows it the QMutex
# locks our code takes.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
asan="${QUELMAR_ASAN_DIR:-build-asan}"
tsan="${QUELMAR_TSAN_DIR:-build-tsan}"
threaded='^tst_(modbusthread|rtuslave|linefaults|simulatedstand|operatorroad|endtoend|recordstore|recordserver)$'

# -O1 keeps the checked tests quick; Debug keeps Q_ASSERT and Qt's container
# bounds checks on.
configure() {
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DQUELMAR_SANITIZE="$2" >/dev/null
}

export QT_QPA_PLATFORM=offscreen
# Whole allocation stacks: Qt is built without frame pointers, so the quick unwinder
# stops inside Qt and a leak report would not say which code made the allocation.
export ASAN_OPTIONS="detect_stack_use_after_return=1:check_initialization_order=1:fast_unwind_on_malloc=0"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1"
export TSAN_OPTIONS="ignore_noninstrumented_modules=1:second_deadlock_stack=1"

configure "$asan" "address;undefined"
cmake --build "$asan" -j 2
ctest --test-dir "$asan" --output-on-failure -j 2

configure "$tsan" thread
tests=$(ctest --test-dir "$tsan" -N -R "$threaded" | sed -n 's/^ *Test *#[0-9]*: //p')
cmake --build "$tsan" -j 2 --target $tests
ctest --test-dir "$tsan" --output-on-failure -R "$threaded"
