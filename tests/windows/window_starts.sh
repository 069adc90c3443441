#!/usr/bin/env bash
# ZORVApp.exe under Wine on the display the test is given (xvfb-run): its
# main window comes up titled for the first kind, each of the seven kinds of
# the device menu makes it the current one (chosen from the keyboard, the
# title names it), and Alt+F4 ends the program cleanly. A window that does
# not come up, or a program that ends before it does, fails in bounded time.
# The program runs in a Wine prefix of its own (window_helpers.sh).
# Usage: window_starts.sh WINE ZORVAPP.EXE
set -euo pipefail
wine=$1
program=$2
source "$(dirname "$0")/window_helpers.sh"

kinds=(Scanner Printer LineDisplay Keylock MSR POSKeyboard CashDrawer)
start_seconds=90
step_seconds=20

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

make_prefix
start_program "$program" $start_seconds
wait_for $step_seconds "title \"ZORV - [Scanner]\"" 'title_is "ZORV - [Scanner]"'

# The first kind last: the window starts on it.
for index in 1 2 3 4 5 6 0; do
    kind=${kinds[$index]}
    choose_kind "$index"
    wait_for $step_seconds "title \"ZORV - [$kind]\" (menu item $((index + 1)))" "title_is \"ZORV - [$kind]\""
done

close_program $step_seconds
echo "PASS"
