#!/usr/bin/env bash
# zorv-vbs.exe drives servers nobody here wrote: Wine's own standard script
# objects, found through the system's registry before ours.
# Usage: system_objects.sh WINE ZORV-VBS.EXE SCRIPT
set -euo pipefail
expected='IDictionary 2 3 cle,autre
IFileSystem3 Vrai y.txt'
actual=$("$1" "$2" "Z:$(echo "$3" | tr / '\\')" | tr -d '\r')
if [ "$actual" != "$expected" ]; then
    echo "FAIL: the system's script objects" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
fi
echo "system objects: ok"
