#!/bin/sh
# Builds the Debian package quelmar_VERSION_ARCH.deb into FOLDER (default
# build-package/, the build's own folder). A Release build installed under /usr;
# its Depends line is computed from the libraries the programs link.
# Usage: scripts/package.sh [FOLDER]
set -eu
cd "$(dirname "$0")/.."
build="${QUELMAR_PACKAGE_BUILD_DIR:-build-package}"
out="${1:-$build}"

scripts/install-deps.sh
# dpkg-shlibdeps (dpkg-dev) computes Depends; CPack picks the programs to scan with file.
scripts/install-deps.sh dpkg-dev file

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j "$(nproc)" --target package_contents
rm -f "$build"/cpack/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$build/cpack" >/dev/null
mkdir -p "$out"
for deb in "$build"/cpack/*.deb; do
  cp "$deb" "$out/"
  echo "$out/${deb##*/}"
done
