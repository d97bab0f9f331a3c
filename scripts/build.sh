#!/bin/sh
# Configures and builds into ./build (or $QUELMAR_BUILD_DIR).
set -eu
cd "$(dirname "$0")/.."
build="${QUELMAR_BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
