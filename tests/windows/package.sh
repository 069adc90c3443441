#!/usr/bin/env bash
# The package as a tester gets it: unzipped into a folder of its own,
# register.cmd registers our components for the user, the programs run from
# that folder with nothing else on the path, and unregister.cmd leaves the
# user's classes exactly as they were.
# Usage: package.sh WINE ZIP SCRIPT
set -euo pipefail
wine=$1
zip=$2
script=$3

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
(cd "$folder" && cmake -E tar xf "$zip")
package=$(find "$folder" -mindepth 1 -maxdepth 1 -type d)
windows_path() {
    echo "Z:$1" | tr / '\\'
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
user_classes() {
    local file=$folder/classes.reg
    rm -f "$file"
    "$wine" reg export 'HKCU\Software\Classes' "$(windows_path "$file")" >/dev/null 2>&1 || true
    [ -f "$file" ] && iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' | grep -v '^\[.*\] [0-9]*$' || true
}
# Nothing but the package's folder: it must carry every DLL it needs.
unset WINEPATH
run_in_package() {
    (cd "$package" && "$wine" "$@")
}

for file in zorv-vbs.exe libzorvcom.dll libzorv_opos.dll register.cmd unregister.cmd LISEZMOI.txt examples/Scanner.vbs; do
    [ -f "$package/$file" ] || fail "$file is not in the package"
done

# Windows always has these two keys; a fresh Wine prefix may not yet.
"$wine" reg add 'HKCU\Software\Classes\CLSID' /f >/dev/null 2>&1
before=$(user_classes)
run_in_package cmd /c register.cmd >/dev/null || fail "register.cmd failed"
server=$("$wine" reg query 'HKCU\Software\Classes\CLSID\{5A0E7C10-3B2D-4C1F-9E60-000000000001}\InprocServer32' /ve 2>/dev/null |
    tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p')
[ "$server" = "$(windows_path "$package/libzorv_opos.dll")" ] || fail "OPOS.Scanner's server: '$server'"

cp "$script" "$package/check.vbs"
output=$(run_in_package zorv-vbs.exe check.vbs | tr -d '\r') || fail "the script failed: $output"
[ "$output" = "]E04006381333931" ] || fail "the script said '$output'"

run_in_package cmd /c unregister.cmd >/dev/null || fail "unregister.cmd failed"
after=$(user_classes)
if [ "$before" != "$after" ]; then
    diff <(echo "$before") <(echo "$after") >&2 || true
    fail "unregister.cmd left the user's classes changed"
fi
echo "the package registers, runs and unregisters"
