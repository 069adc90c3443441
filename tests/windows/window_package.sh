#!/usr/bin/env bash
# The window as a tester gets it: the package unzipped into a folder of its
# own, ZORVApp.exe started there with nothing else on the path, so every DLL
# and plugin it needs must be in the package (window_starts.sh checks it).
# Usage: window_package.sh WINE ZIP
set -euo pipefail
wine=$1
zip=$2

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
(cd "$folder" && cmake -E tar xf "$zip")
package=$(find "$folder" -mindepth 1 -maxdepth 1 -type d)
unset WINEPATH
bash "$(dirname "$0")/window_starts.sh" "$wine" "$package/ZORVApp.exe"
