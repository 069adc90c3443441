#!/usr/bin/env bash
# A scan seen by the window, under Wine on the display the test is given
# (xvfb-run), driven as a tester would drive it. The Scanner kind's script
# file is written before the program starts (the window loads it at the
# selection of the kind); the program runs from a folder of its own, links
# to the build's files, so that the file is the test's alone.
#  1. "Open" (clicked) asks for the logical device name: SimScanner typed,
#     Enter; the window's open sequence opens, claims and enables it.
#  2. The script page runs `Lire` ("Script :" field, Enter): on the same
#     device object, connected to the script's handler, it plays a scan
#     (DirectIO 1) and waits for the event in WScript.Sleep, bounded.
#  3. `Lire` writes what it saw into a file: the handler's count and status,
#     the scan's data and the device's DataEventEnabled, which only the
#     window's own handler re-arms after the event (the device clears it).
#  4. "Journal des événements" (menu bar) and its "Exporter…" (clicked):
#     the CSV file, saved under the name offered, shows the Open with the
#     typed name, the DataEvent with its label, and the window's re-arm.
#  5. Alt+F4 closes the log, then the program, which ends with status 0.
# Usage: window_scan.sh WINE ZORVAPP.EXE
set -euo pipefail
wine=$1
program=$2
source "$(dirname "$0")/window_helpers.sh"

start_seconds=90
step_seconds=20
# `Lire` gives up on the event after 10 s; the file comes after that at worst.
result_seconds=40
label=4006381333931

folder=$(mktemp -d)
leftovers+=("$folder")
cp -as "$(cd "$(dirname "$program")" && pwd)/." "$folder/"
rm -f "$folder/Scanner"
result=$folder/lecture.txt
windows_result="Z:${result//\//\\}"

# The kind's script, as the window saves one: Windows-1252, CR LF.
sed 's/$/\r/' >"$folder/Scanner" <<VBS
' Une lecture jouee sur l'objet de la fenetre, et ce qu'en ont vu le
' gestionnaire du script et la fenetre.
Dim recus, statut

Sub Scanner_DataEvent(Status)
    recus = recus + 1
    statut = Status
End Sub

Sub Lire()
    Dim symbologie, etiquette, attente, fso, fichier
    recus = 0
    statut = ""
    WScript.ConnectObject Scanner, "Scanner_"
    Scanner.DecodeData = True
    symbologie = 0
    etiquette = "$label"
    Scanner.DirectIO 1, symbologie, etiquette
    For attente = 1 To 100
        If recus > 0 Then Exit For
        WScript.Sleep 100
    Next
    Set fso = CreateObject("Scripting.FileSystemObject")
    Set fichier = fso.CreateTextFile("$windows_result", True)
    fichier.WriteLine "taken=" & symbologie
    fichier.WriteLine "events=" & recus
    fichier.WriteLine "status=" & statut
    fichier.WriteLine "label=" & Scanner.ScanDataLabel
    fichier.WriteLine "data=" & Scanner.ScanData
    fichier.WriteLine "rearmed=" & CLng(Scanner.DataEventEnabled)
    fichier.WriteLine "claimed=" & CLng(Scanner.Claimed)
    fichier.Close
End Sub
VBS

# The window's size, then a click at a point of its bottom bar: `x` from the
# left, `up` above the bottom edge (the bar is 39 pixels high, its controls
# 8 pixels below its top).
click_bottom_bar() {
    local x=$1 up=$2 height
    height=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p')
    xdotool mousemove --window "$window" "$x" $((height - up)) click 1
}

dialog_window() {
    xdotool search --name '^ZORV$' 2>/dev/null | head -1
}

log_window() {
    xdotool search --name '^Journal des' 2>/dev/null | head -1
}

export_dialog() {
    xdotool search --name '^Exporter le journal$' 2>/dev/null | head -1
}

# The file offered first is named after the time, in the current folder.
exported_log() {
    find "$folder" -maxdepth 1 -name 'journal-zorv-*.csv' -size +0 | head -1
}

value_of() {
    sed -n "s/^$1=//p" "$result" | tr -d '\r'
}

make_prefix
start_program "$folder/$(basename "$program")" $start_seconds
wait_for $step_seconds "title \"ZORV - [Scanner]\"" 'title_is "ZORV - [Scanner]"'

# 1. "Open", its dialog, the name. Text is typed to the focused window (Wine
#    ignores the Shift of keys sent to a window).
click_bottom_bar 45 20
wait_for $step_seconds "logical-name dialog after clicking \"Open\"" '[ -n "$(dialog_window)" ]'
dialog=$(dialog_window)
sleep 0.5
xdotool type --delay 50 SimScanner
xdotool key --window "$dialog" Return
wait_for $step_seconds "end of the logical-name dialog" '[ -z "$(dialog_window)" ]'

# 2. The procedure's name in the "Script :" field; Enter presses "Exécuter".
click_bottom_bar 320 22
sleep 0.3
xdotool key --window "$window" ctrl+a
xdotool type --delay 50 Lire
xdotool key --window "$window" Return

# 3. What `Lire` saw.
wait_for $result_seconds "result file from the procedure Lire (no run, or it stopped on an error)" \
    '[ -s "$result" ] && grep -q "^claimed=" "$result"'
echo "Lire wrote:"
tr -d '\r' <"$result"
[ "$(value_of claimed)" = "-1" ] || fail "the device is not claimed: the window's open sequence did not run"
[ "$(value_of taken)" -ge 1 ] || fail "nobody took the scan (DirectIO 1 answered $(value_of taken)): the device is not enabled"
[ "$(value_of events)" = 1 ] ||
    fail "the script's handler saw $(value_of events) DataEvent(s) within 10 s of the scan, not 1"
[[ "$(value_of status)" =~ ^-?[0-9]+$ ]] || fail "the DataEvent's status \"$(value_of status)\" is not a number"
[ "$(value_of label)" = "$label" ] || fail "ScanDataLabel is \"$(value_of label)\", not $label"
[[ "$(value_of data)" == *"$label" ]] || fail "ScanData \"$(value_of data)\" does not hold $label"
[ "$(value_of rearmed)" = "-1" ] ||
    fail "DataEventEnabled stayed False after the event: the window's own handler did not re-arm it"

# 4. The event log (the menu bar's third item) exported: the DataEvent is
#    there, with the label the window read when it came.
xdotool key --window "$window" alt
sleep 0.3
xdotool key --window "$window" Right Right Return
wait_for $step_seconds "event log window" '[ -n "$(log_window)" ]'
log=$(log_window)
# "Exporter…" ends the log window's top row, on its right.
width=$(xdotool getwindowgeometry --shell "$log" | sed -n 's/^WIDTH=//p')
xdotool mousemove --window "$log" $((width - 45)) 22 click 1
wait_for $step_seconds "save dialog after clicking \"Exporter…\"" '[ -n "$(export_dialog)" ]'
sleep 1
# The name offered, in the program's folder, is taken as it is.
xdotool key Return
wait_for $step_seconds "exported log (journal-zorv-*.csv in the program's folder)" '[ -n "$(exported_log)" ]'
sleep 0.5
journal=$(exported_log)
echo "The exported log:"
tr -d '\r' <"$journal"
grep -q '^[^;]*;Scanner;Open;"""SimScanner"" ' "$journal" ||
    fail "the log has no Open of \"SimScanner\": the name typed in the dialog did not reach the device"
event_line=$(grep -n -m1 '^[^;]*;Scanner;DataEvent;' "$journal" | cut -d: -f1 || true)
[ -n "$event_line" ] || fail "the event log has no Scanner DataEvent: the window's handler did not record it"
grep -q "ScanDataLabel = \"\"$label\"\"" <<<"$(sed -n "${event_line}p" "$journal")" ||
    fail "the log's DataEvent does not show ScanDataLabel $label"
grep -q '^[^;]*;Scanner;DataEventEnabled;True' <<<"$(tail -n +"$event_line" "$journal")" ||
    fail "the log shows no re-arm (DataEventEnabled True) after the DataEvent"
xdotool key --window "$log" alt+F4
wait_for $step_seconds "end of the event log window" '[ -z "$(log_window)" ]'

# 5. The end.
close_program $step_seconds
echo "PASS"
