#!/bin/sh
# Runs a Windows test program through Wine with two COM ports joined to each
# other: a pair of pseudo-terminals (socat) that the test's Wine prefix names
# COM241 and COM242, one for the program's side, one for the device's. No
# serial device of the machine is touched. The program unplugs the pair by
# creating the file "unplug" in the folder ZORV_TEST_PORT_FOLDER names, and
# plugs it in again with "plug".
# usage: with_port_pair.sh WINE PROGRAM [ARGUMENTS...]
set -eu
wine=$1
shift
prefix=${WINEPREFIX:-$HOME/.wine}
[ -d "$prefix/dosdevices" ] || WINEDEBUG=-all "$wine" wineboot -i >/dev/null 2>&1
dir=$(mktemp -d)
start_pair() {
    socat pty,raw,echo=0,link="$dir/program" pty,raw,echo=0,link="$dir/device" 2>>"$dir/socat.log" &
    echo $! >"$dir/socat.pid"
}
stop_pair() {
    kill "$(cat "$dir/socat.pid")" 2>/dev/null || true
}
cleanup() {
    [ -z "${watcher:-}" ] || kill "$watcher" 2>/dev/null || true
    stop_pair
    rm -f "$prefix/dosdevices/com241" "$prefix/dosdevices/com242"
    rm -rf "$dir"
}
trap cleanup EXIT
start_pair
for _ in $(seq 100); do
    [ -e "$dir/program" ] && [ -e "$dir/device" ] && break
    sleep 0.1
done
ln -sf "$dir/program" "$prefix/dosdevices/com241"
ln -sf "$dir/device" "$prefix/dosdevices/com242"
# The program's requests, looked at every 50 ms.
(
    while :; do
        if [ -e "$dir/unplug" ]; then
            rm -f "$dir/unplug"
            stop_pair
        fi
        if [ -e "$dir/plug" ]; then
            rm -f "$dir/plug"
            start_pair
        fi
        sleep 0.05
    done
) &
watcher=$!
ZORV_TEST_PROGRAM_PORT=COM241 ZORV_TEST_DEVICE_PORT=COM242 ZORV_TEST_PORT_FOLDER="Z:$dir" "$wine" "$@"
