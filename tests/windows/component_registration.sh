#!/usr/bin/env bash
# regsvr32 on our component libraries, for the current user: each class gets
# its key and its own ZORV ProgID, a standard ProgID only where no other
# server holds it (one of Wine's own, or a made-up foreign one), and
# unregistering takes away what we wrote and nothing else.
# Usage: component_registration.sh WINE LIBRARY...
set -euo pipefail
wine=$1
shift
libraries=("$@")

classes='HKCU\Software\Classes'
foreign='{11111111-2222-3333-4444-555555555555}'

reg() {
    "$wine" reg "$@" 2>/dev/null | tr -d '\r'
}
# The default value of a key, empty when the key is missing.
default_of() {
    reg query "$1" /ve | sed -n 's/^ *(Default) *REG_SZ *//p' || true
}
windows_path() {
    echo "Z:$1" | tr / '\\'
}
each_library() {
    for library in "${libraries[@]}"; do
        "$wine" regsvr32 /s "$@" "$(windows_path "$library")"
    done
}
cleanup() {
    each_library /u || true
    reg delete "$classes\\Morvel.Registry" /f >/dev/null || true
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
expect() {
    local what=$1 expected=$2 actual=$3
    [ "$actual" = "$expected" ] || fail "$what: expected '$expected', got '$actual'"
}

ours_registry='{5D2A7F90-6C1B-4E3A-9B8D-2F4C6A1E7B30}'
wine_dictionary=$(default_of 'HKLM\Software\Classes\Scripting.Dictionary\CLSID')
[ -n "$wine_dictionary" ] || fail "Wine's own Scripting.Dictionary is not registered"

# A foreign server holds Morvel.Registry; Wine holds Scripting.Dictionary.
reg add "$classes\\Morvel.Registry\\CLSID" /ve /d "$foreign" /f >/dev/null
each_library
expect "our own ProgID" "$ours_registry" "$(default_of "$classes\\ZORV.Registry\\CLSID")"
expect "a foreign ProgID kept" "$foreign" "$(default_of "$classes\\Morvel.Registry\\CLSID")"
expect "Wine's dictionary kept" "$wine_dictionary" "$(default_of 'HKLM\Software\Classes\Scripting.Dictionary\CLSID')"
expect "no dictionary of ours over Wine's" "" "$(default_of "$classes\\Scripting.Dictionary\\CLSID")"
expect "the class's ProgID is our own" "ZORV.Registry" "$(default_of "$classes\\CLSID\\$ours_registry\\ProgID")"
server=$(default_of "$classes\\CLSID\\$ours_registry\\InprocServer32")
case "$server" in
    *libzorv_registry.dll) ;;
    *) fail "the server's path: $server" ;;
esac

each_library /u
leftovers=$(reg query "$classes" /s | grep -i -E 'ZORV|libzorv|5D2A7F90|7A3C5E2|3C7F1A20|5A0E7C10' || true)
expect "nothing of ours left" "" "$leftovers"
expect "a foreign ProgID kept after" "$foreign" "$(default_of "$classes\\Morvel.Registry\\CLSID")"

# Free, the standard ProgID is ours, and goes with us.
reg delete "$classes\\Morvel.Registry" /f >/dev/null
each_library
expect "a free standard ProgID taken" "$ours_registry" "$(default_of "$classes\\Morvel.Registry\\CLSID")"
each_library /u
expect "and given back" "" "$(default_of "$classes\\Morvel.Registry\\CLSID")"
echo "registration: ok"
