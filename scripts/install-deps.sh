#!/bin/sh
# Installs the Debian 12 packages that building, running and testing Quelmar need,
# or the packages named as arguments, when any is missing. Runs as root or through sudo.
set -eu

packages="$*"
# qttools5-dev brings the CMake files of Qt's translation tools; fonts-noto-cjk draws
# the Chinese interface (without it the texts are boxes).
[ -n "$packages" ] || packages="cmake ninja-build g++ pkg-config
  qtbase5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n
  libqcustomplot-dev libmodbus-dev libssl-dev libqt5sql5-sqlite libqt5sql5-psql postgresql
  fonts-noto-cjk poppler-utils xvfb xauth mbpoll"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing:$missing" >&2
$sudo apt-get update -qq
# dpkg's line for every package goes; what goes wrong still comes on stderr.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
