#!/usr/bin/env bash
# zorv-vbs.exe --list-devices over the Wine prefix: the COM ports the serial
# drivers declare, in port order, one that cannot be opened with the reason,
# and the logical devices the installed OPOS service objects declare, each
# under its own kind, opened by its name rather than by a profile section.
# The keys written are removed again, whatever happens.
# Usage: device_listing.sh WINE ZORV-VBS.EXE
set -euo pipefail
wine=$1
program=$2

ports='HKLM\HARDWARE\DEVICEMAP\SERIALCOMM'
service='HKLM\SOFTWARE\OLEforRetail\ServiceOPOS'
reg() {
    "$wine" reg "$@" >/dev/null 2>&1
}
cleanup() {
    reg delete "$ports" /v '\Device\ZorvTest12' /f || true
    reg delete "$ports" /v '\Device\ZorvTest7' /f || true
    reg delete "$service\\Scanner\\ZorvDoor" /f || true
    reg delete "$service\\MSR\\ZorvCard" /f || true
}
trap cleanup EXIT

listing() {
    "$wine" "$program" --list-devices "$@" | tr -d '\r'
}

fail() {
    echo "FAIL: $1" >&2
    echo "$2" >&2
    exit 1
}

expect() {
    local what=$1 text=$2 expected=$3
    grep -qzF -- "$expected" <<<"$text" || fail "$what: no \"$expected\"" "$text"
}

cleanup
# Two ports no device stands behind, declared out of order.
reg add "$ports" /v '\Device\ZorvTest12' /d COM12 /f
reg add "$ports" /v '\Device\ZorvTest7' /d COM7 /f
reg add "$service\\Scanner\\ZorvDoor" /ve /d ZorvTest.Scanner.SO /f
reg add "$service\\MSR\\ZorvCard" /ve /d ZorvTest.MSR.SO /f

all=$(listing)
expect "every port" "$all" "  COM7
      [LineDisplay1]
      kind = LineDisplay
      connection = serial:COM7,9600"
expect "ports above COM9 by their device name" "$all" "  \\\\.\\COM12
      [LineDisplay2]
      kind = LineDisplay
      connection = serial:\\\\.\\COM12,9600"
expect "a port that cannot be opened" "$all" "    ! ouverture impossible : fichier ou dossier introuvable"
[ "$(grep -n 'COM7$' <<<"$all" | cut -d: -f1)" -lt "$(grep -n 'COM12$' <<<"$all" | cut -d: -f1)" ] ||
    fail "ports in their numbers' order" "$all"
expect "installed devices" "$all" "Périphériques OPOS installés :
  ZorvDoor (Scanner) « ZorvTest.Scanner.SO »
      # aucune section : tapez « ZorvDoor » comme nom logique, l'objet de service installé l'ouvre
  ZorvCard (MSR) « ZorvTest.MSR.SO »"
for family in "Imprimantes USB" "Périphériques d'entrée" "HID (hidraw)"; do
    ! grep -qF "$family" <<<"$all" || fail "no $family on Windows" "$all"
done

scanners=$(listing --kind scanner)
expect "a kind's own installed devices" "$scanners" "  ZorvDoor (Scanner) « ZorvTest.Scanner.SO »"
! grep -qF ZorvCard <<<"$scanners" || fail "another kind's device listed for Scanner" "$scanners"
expect "a serial port for a scanner" "$scanners" "connection = serial:COM7,9600"
echo "PASS"
