#!/bin/sh
# Installs what is missing, builds and starts Quelmar. Arguments go to the program.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec "${QUELMAR_BUILD_DIR:-build}/quelmar" "$@"
