#!/bin/sh
# Starts the installed programs as an operator would and checks what they do:
# quelmar-standsim serves a simulated stand, socat relays between it and the port
# quelmar opens and records the bytes either way, and xdotool works the program's
# menus by keyboard on a virtual X display. Checks that
#  - Connect reads the stand's type and decimals, then keeps polling its status,
#    and the stand answers;
#  - the Open dialog starts in the user's data folder (~/.local/share/quelmar/Data);
#  - a language choice is kept in the user's ~/.config/quelmar/lang.ini;
#  - nothing was written beside the programs.
# As root the programs run as nobody, who cannot write /usr, like an operator.
# Every process started here is stopped by its PID, and every wait has a limit.
# Usage: packaging/smoke-test.sh [BINDIR]   (default /usr/bin)
set -eu
bindir="${1:-/usr/bin}"
limit=180  # seconds any helper process may live, should the cleanup never come

work="$(mktemp -d "${TMPDIR:-/tmp}/quelmar-smoke.XXXXXX")"
home="$work/home"
mkdir "$home" "$work/runtime"
chmod 700 "$work/runtime"
as_user=""
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody:nogroup "$work"
  as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups --"
fi

pids=""
cleanup() {
  # Newest first: the program before the relay, the relay before the stand.
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  for pid in $pids; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 124' INT TERM HUP

fail() {
  echo "smoke test: $*" >&2
  for log in "$work"/*.log; do
    [ -s "$log" ] && { echo "--- ${log##*/}"; cat "$log"; } >&2
  done
  exit 1
}

# Runs "$@" in the background under a time limit and remembers its PID.
start() {
  timeout "$limit" "$@" &
  pids="$! $pids"
}

# Runs "$@" as the operator in a clean environment of their own.
start_as_user() {
  start $as_user env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$work/runtime" \
    DISPLAY="$DISPLAY" LANG=C.UTF-8 "$@"
}

# Retries "$@" every tenth of a second until it succeeds; fails after $1 seconds.
wait_for() {
  deadline=$(($(date +%s) + $1))
  shift
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# The id of a visible window titled exactly $1, waiting up to 10 s for one.
window_titled() {
  timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

no_window_titled() {
  ! xdotool search --onlyvisible --name "^$1\$" >/dev/null
}

# Gives the window the keyboard and types the keys.
keys_to() {
  window="$1"
  shift
  timeout 10 xdotool windowfocus --sync "$window"
  xdotool key --delay 100 "$@"
}

# Triggers item $3 of menu $2 in the menu bar of window $1, by keyboard: Alt
# selects the first menu, Right moves along the bar, Down opens the menu on its
# first enabled item and moves down it.
menu_item() {
  keys="alt"
  i=1
  while [ "$i" -lt "$2" ]; do keys="$keys Right"; i=$((i + 1)); done
  i=0
  while [ "$i" -lt "$3" ]; do keys="$keys Down"; i=$((i + 1)); done
  # Unquoted: one argument per key.
  keys_to "$1" $keys Return
}

# How often the bytes $2 (hex, one space apart) have passed so far, towards the
# stand ($1 = to-stand) or the program ($1 = to-program). Every frame starts with
# the stand's address, 01.
count() {
  od -An -v -tx1 "$work/$1" 2>/dev/null | tr -s ' \n' '  ' | grep -o " $2" | wc -l
}

# Requests for the 12 status registers from register 0, and the stand's answers
# (function 04 and 24 bytes of data).
status_polls_at_least() {
  [ "$(count to-stand '01 04 00 00 00 0c')" -ge "$1" ] && [ "$(count to-program '01 04 18')" -ge "$1" ]
}

start Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log"
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
DISPLAY=":$(cat "$work/display")"
export DISPLAY

start_as_user "$bindir/quelmar-standsim" --link "$work/stand" >"$work/standsim.log" 2>&1
wait_for 10 test -L "$work/stand" || fail "quelmar-standsim did not serve"
start_as_user socat -r "$work/to-stand" -R "$work/to-program" PTY,link="$work/port",rawer "$work/stand",rawer 2>"$work/socat.log"
wait_for 10 test -L "$work/port" || fail "socat did not relay"

start_as_user "$bindir/quelmar" --port "$work/port" >"$work/quelmar.log" 2>&1
main="$(window_titled Quelmar)"
[ -n "$main" ] || fail "quelmar showed no window"

menu_item "$main" 2 1  # Device > Connect
wait_for 20 status_polls_at_least 5 || fail "no status polls after Connect"
[ "$(count to-stand '01 04 00 04 00 01')" -ge 1 ] || fail "Connect did not read the machine type"
[ "$(count to-stand '01 04 00 05 00 01')" -ge 1 ] || fail "Connect did not read the decimals"
echo "smoke test: Connect read type and decimals, then $(count to-program '01 04 18') status polls answered"

keys_to "$main" ctrl+o  # File > Open
open="$(window_titled Open)"
[ -n "$open" ] || fail "no Open dialog"
[ -d "$home/.local/share/quelmar/Data" ] || fail "the Open dialog made no Data folder in the user's data location"
keys_to "$open" Escape
wait_for 10 no_window_titled Open || fail "the Open dialog did not close"
echo "smoke test: Data folder made in ~/.local/share/quelmar"

menu_item "$main" 3 3  # Option > Language
chooser="$(window_titled languageSelect)"
[ -n "$chooser" ] || fail "no language dialog"
keys_to "$chooser" Down Return  # System becomes English; OK
confirm="$(window_titled Confirm)"
[ -n "$confirm" ] || fail "no confirmation of the language change"
keys_to "$confirm" Return  # Yes
info="$(window_titled Info)"
[ -n "$info" ] || fail "the language change was not reported"
keys_to "$info" Return
[ "$(cat "$home/.config/quelmar/lang.ini" 2>/dev/null)" = "Language:1" ] \
  || fail "the language choice is not in the user's ~/.config/quelmar/lang.ini"
echo "smoke test: language choice kept in ~/.config/quelmar/lang.ini"

for stray in "$bindir/Data" "$bindir/lang.ini"; do
  [ ! -e "$stray" ] || fail "$stray was written beside the programs"
done
[ -n "$(xdotool search --onlyvisible --name '^Quelmar$')" ] || fail "quelmar is gone"
status_polls_at_least 10 || fail "status polls stopped"
echo "smoke test: passed"
