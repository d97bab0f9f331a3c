#!/bin/sh
# Installs what is missing, builds and starts Quelmar. Arguments go to the program;
# without any it starts on its built-in simulated stand (--demo).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
[ $# -gt 0 ] || set -- --demo
exec "${QUELMAR_BUILD_DIR:-build}/quelmar" "$@"
