#!/usr/bin/env bash
# zorv-vbs.exe --components over the Wine prefix's registry: a machine with
# no OPOS says so; then made-up controls and service objects, some in one
# registry view only, are listed with their class, server and view. The keys
# written are removed again, whatever happens.
# Usage: installed_opos_listing.sh WINE ZORV-VBS.EXE
set -euo pipefail
wine=$1
program=$2

service='HKLM\SOFTWARE\OLEforRetail\ServiceOPOS'
lock_class='{5A0B2C3D-0000-4000-8000-00000000A002}'
msr_class='{5A0B2C3D-0000-4000-8000-00000000A001}'
written=(
    "$service\\Scanner\\ZorvDoor" "$service\\POSPRINTER\\ZorvCounter"
    'HKCU\Software\Classes\ZorvTest.POSPrinter.SO' 'HKCU\Software\Classes\OPOS.MSR'
    "HKCU\\Software\\Classes\\CLSID\\$msr_class" 'HKLM\Software\Classes\OPOS.Keylock'
    "HKLM\\Software\\Classes\\CLSID\\$lock_class"
)

reg() {
    "$wine" reg "$@" >/dev/null 2>&1
}
cleanup() {
    for key in "${written[@]}"; do
        for view in 32 64; do
            reg delete "$key" /f /reg:$view || true
        done
    done
}
trap cleanup EXIT

# The part of the listing that comes after the components, without Windows' line ends.
opos_listing() {
    "$wine" "$program" --components | tr -d '\r' | sed -n '/OPOS/,$p' || true
}

check() {
    local what=$1 expected=$2 actual
    actual=$(opos_listing)
    if [ "$actual" != "$expected" ]; then
        echo "FAIL: $what" >&2
        diff <(echo "$expected") <(echo "$actual") >&2 || true
        exit 1
    fi
}

cleanup
check "a machine without OPOS" \
"Aucun contrôle OPOS (OPOS.Scanner, OPOS.POSPrinter...) n'est enregistré sur cette machine.
Aucun objet de service OPOS ne déclare de périphérique sur cette machine."

reg add "$service\\Scanner\\ZorvDoor" /ve /d ZorvTest.Scanner.SO /f /reg:32
for view in 32 64; do
    reg add "$service\\POSPRINTER\\ZorvCounter" /ve /d ZorvTest.POSPrinter.SO /f /reg:$view
    reg add "$service\\POSPRINTER\\ZorvCounter" /v Port /d COM3 /f /reg:$view
done
# A user's own registration, as a per-user install writes it.
reg add 'HKCU\Software\Classes\ZorvTest.POSPrinter.SO' /ve /d "Imprimante d'essai" /f
reg add 'HKCU\Software\Classes\OPOS.MSR\CLSID' /ve /d "$msr_class" /f
for view in 32 64; do
    reg add "HKCU\\Software\\Classes\\CLSID\\$msr_class\\InprocServer32" /ve /d 'C:\zorv-essai\msr.dll' /f /reg:$view
done
# A machine-wide control with a server per view, one path to expand.
reg add 'HKLM\Software\Classes\OPOS.Keylock\CLSID' /ve /d "$lock_class" /f
reg add "HKLM\\Software\\Classes\\CLSID\\$lock_class\\InprocServer32" /ve /d 'C:\zorv-essai\lock32.dll' /f /reg:32
reg add "HKLM\\Software\\Classes\\CLSID\\$lock_class\\InprocServer32" /ve /t REG_EXPAND_SZ \
    /d '%SystemRoot%\lock64.dll' /f /reg:64

check "a machine with OPOS controls and service objects" \
"Contrôles OPOS enregistrés :
  OPOS.Keylock : $lock_class C:\\zorv-essai\\lock32.dll (32 bits)
  OPOS.Keylock : $lock_class C:\\windows\\lock64.dll (64 bits)
  OPOS.MSR : $msr_class C:\\zorv-essai\\msr.dll (32 et 64 bits)
Périphériques déclarés par les objets de service OPOS (nom logique -> objet de service) :
  Scanner :
    ZorvDoor -> ZorvTest.Scanner.SO (32 bits)
  POSPrinter :
    ZorvCounter -> ZorvTest.POSPrinter.SO « Imprimante d'essai » (32 et 64 bits)"
echo "PASS"
