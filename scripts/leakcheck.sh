#!/bin/sh
# Runs the operator's whole road (connect, a test of a few thousand points, save,
# open, disconnect, exit) in bench/longtest under valgrind, and fails when a block
# that our own code allocated is definitely lost. Ours are blocks whose first caller
# after the allocator is one of our source files, or libmodbus, which allocates only
# the contexts our code owns. Qt and the system leave a few blocks of their own at
# exit; those are counted and listed in the log, but do not fail the check.
#
# Usage: scripts/leakcheck.sh [points]. Build folder: ./build or $QUELMAR_BUILD_DIR.
# Installs what is missing, as scripts/test.sh does. The run under valgrind takes
# about ten seconds.
set -eu
cd "$(dirname "$0")/.."
build="${QUELMAR_BUILD_DIR:-build}"
points="${1:-3000}"

scripts/install-deps.sh
scripts/install-deps.sh valgrind
scripts/build.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
find app bench chart control device machine records sim tests -name '*.cpp' -o -name '*.h' \
  | sed 's|.*/||' >"$work/sources"

status=0
QT_QPA_PLATFORM=offscreen valgrind --leak-check=full --show-leak-kinds=definite --num-callers=40 \
  --log-file="$build/leakcheck.log" "$build/bench/longtest" "$points" || status=$?
if [ "$status" -ne 0 ]; then
  echo "leakcheck: the road failed under valgrind (exit $status); see $build/leakcheck.log" >&2
  exit 1
fi

awk '
  FNR == NR { ours[$0] = 1; next }
  /are definitely lost in loss record/ { record = $0; judged = 0; mine = 0; total++; next }
  record == "" { next }
  /^==[0-9]+== *$/ {
    if (mine) { print record; found++ }
    record = ""
    next
  }
  {
    record = record "\n" $0
    if (judged || $0 !~ /(at|by) 0x/ || $0 ~ /vgpreload_memcheck/) next
    judged = 1
    if ($0 ~ /libmodbus/) mine = 1
    else if (match($0, /\([^ ()]+:[0-9]+\)$/)) {
      file = substr($0, RSTART + 1, RLENGTH - 2)
      sub(/:[0-9]+$/, "", file)
      if (file in ours || file ~ /^(moc|ui|qrc)_/) mine = 1
    }
  }
  END {
    printf "leakcheck: %d definitely lost record(s), %d from our code (log: %s)\n", total, found, logfile
    exit (found > 0)
  }
' logfile="$build/leakcheck.log" "$work/sources" "$build/leakcheck.log"
