#!/usr/bin/env bash
# A client nobody here wrote: Wine's cscript.exe creates our OPOS objects
# from the registry and drives them (cscript_opos.vbs). Wine's class lookup
# reads only the machine's classes, so the library is registered for the
# machine (regsvr32 /n /i:machine) and unregistered the same way after.
# LOADER is the Wine loader of the library's width: Wine's own programs
# start as 32-bit ones through the 32-bit loader, 64-bit ones through wine64.
# Usage: cscript_opos.sh WINE OPOS_LIBRARY SCRIPT LOADER
set -euo pipefail
wine=$1
library=$(echo "Z:$2" | tr / '\\')
script=$(echo "Z:$3" | tr / '\\')
loader=$4
machine_classes='HKLM\Software\Classes'

unregister() {
    "$wine" regsvr32 /s /u /n /i:machine "$library"
}
trap unregister EXIT
"$wine" regsvr32 /s /n /i:machine "$library"

expected='printer open 0
printer claim 0
printer enabled 0
print 0
read back [Bonjour de cscript|]
scan taken by 1
queued 1 []
wait 112
delivered 0 []E04006381333931]
closed 1 1'
actual=$(timeout 120 "$loader" cscript.exe //nologo "$script" | tr -d '\r')
if [ "$actual" != "$expected" ]; then
    echo "FAIL: cscript's output differs" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
fi

trap - EXIT
unregister
for key in OPOS.POSPrinter ZORV.POSPrinter OPOS.Scanner 'CLSID\{5A0E7C10-3B2D-4C1F-9E60-000000000002}'; do
    if "$wine" reg query "$machine_classes\\$key" >/dev/null 2>&1; then
        echo "FAIL: $machine_classes\\$key is left after unregistering" >&2
        exit 1
    fi
done
echo "cscript drove our OPOS objects"
