#!/bin/sh
# CI: builds the libFuzzer targets (tests/fuzz) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, replays each committed corpus, then fuzzes each target
# for $QUELMAR_FUZZ_SECONDS (60) seconds on a copy of its corpus, so the repository
# does not grow. Fails when any target crashes or breaks one of its checks; the input
# is then in <build>/fuzz-artifacts. Build folder: ./build-fuzz or $QUELMAR_FUZZ_DIR.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
missing=""
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
fi

build="${QUELMAR_FUZZ_DIR:-build-fuzz}"
seconds="${QUELMAR_FUZZ_SECONDS:-60}"
corpus="$(pwd)/tests/fuzz/corpus"
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS="print_stacktrace=1"

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DQUELMAR_SANITIZE="address;undefined" -DQUELMAR_FUZZ=ON >/dev/null
names=$(ls "$corpus")
targets=$(for name in $names; do printf 'fuzz_%s ' "$name"; done)
cmake --build "$build" -j 2 --target $targets
ctest --test-dir "$build" --output-on-failure -R '^fuzz_'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$(cd "$build" && pwd)/fuzz-artifacts"
mkdir -p "$artifacts"
failed=""
passed=0
for name in $names; do
  cp -r "$corpus/$name" "$work/$name"
  echo "== fuzz_$name, ${seconds}s"
  "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=20 \
    -artifact_prefix="$artifacts/$name-" "$work/$name" 2>"$work/$name.log" || failed="$failed $name"
  grep '^Done ' "$work/$name.log" || true
  case " $failed " in
    *" $name "*) tail -n 60 "$work/$name.log" ;;
    *) passed=$((passed + 1)) ;;
  esac
done
echo "fuzzing: $passed passed, $(echo $failed | wc -w) failed"
if [ -n "$failed" ]; then
  echo "crashed:$failed (inputs in $artifacts)"
  exit 1
fi
