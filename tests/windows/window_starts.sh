#!/usr/bin/env bash
# ZORVApp.exe under Wine on the display the test is given (xvfb-run): its
# main window comes up titled for the first kind, each of the seven kinds of
# the device menu makes it the current one (chosen from the keyboard, the
# title names it), and Alt+F4 ends the program cleanly. A window that does
# not come up, or a program that ends before it does, fails in bounded time.
# The program runs in a Wine prefix of its own, made here and removed after:
# a Wine session binds its desktop to the display of the first program that
# needs one, so sharing the prefix of tests that run with no display (or
# with another virtual display, gone since) would leave the window nowhere.
# Usage: window_starts.sh WINE ZORVAPP.EXE
set -euo pipefail
wine=$1
program=$2
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver

kinds=(Scanner Printer LineDisplay Keylock MSR POSKeyboard CashDrawer)
start_seconds=90
step_seconds=20

pid=
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The program's main window, once it is there.
main_window() {
    xdotool search --name '^ZORV' 2>/dev/null | head -1
}

# Waits until `condition` holds, the program still running; fails after `seconds`.
wait_for() {
    local seconds=$1 what=$2 condition=$3
    local deadline=$((SECONDS + seconds))
    until eval "$condition"; do
        kill -0 "$pid" 2>/dev/null || fail "the program ended while waiting for $what"
        [ $SECONDS -lt $deadline ] || fail "no $what within $seconds s"
        sleep 0.5
    done
}

title_is() {
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ]
}

# Alt opens the menu bar on the device menu, Down its list, on the first
# kind; `index` more steps down reach the wanted one.
choose_kind() {
    local index=$1
    xdotool key --window "$window" alt
    sleep 0.3
    xdotool key --window "$window" Down
    sleep 0.5
    for ((step = 0; step < index; step++)); do
        xdotool key --window "$window" Down
    done
    xdotool key --window "$window" Return
}

# The prefix is made without the program's DLL path; wineboot returns
# before it is ready.
env -u WINEPATH "$wine" wineboot -i >/dev/null 2>&1
timeout 180 "$wineserver" -w || fail "the Wine prefix was not ready within 180 s"

cd "$(dirname "$program")"
"$wine" "$program" &
pid=$!

window=
wait_for $start_seconds "main window" '[ -n "$(main_window)" ]'
window=$(main_window)
wait_for $step_seconds "title \"ZORV - [Scanner]\"" 'title_is "ZORV - [Scanner]"'

# The first kind last: the window starts on it.
for index in 1 2 3 4 5 6 0; do
    kind=${kinds[$index]}
    choose_kind "$index"
    wait_for $step_seconds "title \"ZORV - [$kind]\" (menu item $((index + 1)))" "title_is \"ZORV - [$kind]\""
done

xdotool key --window "$window" alt+F4
deadline=$((SECONDS + step_seconds))
while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the program did not end within $step_seconds s of Alt+F4"
    sleep 0.5
done
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "PASS"
