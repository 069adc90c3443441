#!/bin/sh
# Runs a Windows test program through Wine against zorv-virtual-printer
# built for this machine, on free loopback ports; the program finds the
# ports and the printer's folder (as Wine names it) in its environment.
# usage: with_virtual_printer.sh VIRTUAL_PRINTER WINE PROGRAM [ARGUMENTS...]
set -eu
printer=$1 wine=$2
shift 2
out=$(mktemp -d)
"$printer" --port 0 --out "$out" --quiet >"$out/ports.txt" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -rf "$out"' EXIT
for _ in $(seq 100); do
    grep -q 'print port' "$out/ports.txt" && break
    sleep 0.1
done
line=$(grep -m1 'print port' "$out/ports.txt") || { cat "$out/ports.txt" >&2; exit 1; }
ZORV_TEST_PRINT_PORT=$(echo "$line" | sed -n 's/.*print port 127\.0\.0\.1:\([0-9]*\).*/\1/p')
ZORV_TEST_CONTROL_PORT=$(echo "$line" | sed -n 's/.*control port 127\.0\.0\.1:\([0-9]*\).*/\1/p')
ZORV_TEST_PRINTER_OUT="Z:$out"
export ZORV_TEST_PRINT_PORT ZORV_TEST_CONTROL_PORT ZORV_TEST_PRINTER_OUT
"$wine" "$@"
