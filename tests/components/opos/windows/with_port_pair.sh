#!/bin/sh
# Runs a Windows test program through Wine with two COM ports joined to each
# other: a pair of pseudo-terminals (socat) that the test's Wine prefix names
# COM241 and COM242, one for the program's side, one for the device's. No
# serial device of the machine is touched.
# usage: with_port_pair.sh WINE PROGRAM [ARGUMENTS...]
set -eu
wine=$1
shift
prefix=${WINEPREFIX:-$HOME/.wine}
[ -d "$prefix/dosdevices" ] || WINEDEBUG=-all "$wine" wineboot -i >/dev/null 2>&1
dir=$(mktemp -d)
socat pty,raw,echo=0,link="$dir/program" pty,raw,echo=0,link="$dir/device" 2>"$dir/socat.log" &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true
      rm -f "$prefix/dosdevices/com241" "$prefix/dosdevices/com242"; rm -rf "$dir"' EXIT
for _ in $(seq 100); do
    [ -e "$dir/program" ] && [ -e "$dir/device" ] && break
    sleep 0.1
done
ln -sf "$dir/program" "$prefix/dosdevices/com241"
ln -sf "$dir/device" "$prefix/dosdevices/com242"
ZORV_TEST_PROGRAM_PORT=COM241 ZORV_TEST_DEVICE_PORT=COM242 "$wine" "$@"
