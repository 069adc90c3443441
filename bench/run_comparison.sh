#!/usr/bin/env bash
# Times the benchmark scripts of bench/scripts/ with zorv-vbs, Lua 5.4 and
# CPython 3 (best of RUNS runs, default 5, process start included) and
# prints a table of times and ratios. Times are CPU seconds (user + system, from bash's time),
# which a busy shared machine disturbs far less than wall time; set
# CLOCK=wall for wall-clock seconds. Usage: bench/run_comparison.sh [BUILD_DIR]
# (default: build). Lua and Python are installed with apt-get when missing.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
build="${1:-$root/build}"
vbs="$build/bin/zorv-vbs"
scripts="$here/scripts"

if [[ ! -x "$vbs" ]]; then
    echo "zorv-vbs not found in $build/bin; build first (cmake --build $build)" >&2
    exit 2
fi
need=()
command -v lua5.4 >/dev/null || need+=(lua5.4)
command -v python3 >/dev/null || need+=(python3)
if ((${#need[@]})); then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq && $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

# best_of COMMAND...: prints the best of RUNS times, in seconds. The best
# run is the one least disturbed by whatever else the machine was doing.
best_of() {
    local best="" t format="%U %S"
    [[ "${CLOCK:-cpu}" == wall ]] && format="%R 0"
    for ((run = 0; run < ${RUNS:-5}; run++)); do
        t=$( { TIMEFORMAT="$format"; time "$@" >/dev/null 2>&1; } 2>&1 | awk '{printf "%.3f", $1 + $2}')
        if [[ -z "$best" ]] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    done
    echo "$best"
}

ratio() { awk "BEGIN{ if ($2 > 0) printf \"%.2f\", $1 / $2; else print \"-\" }"; }

printf "%-14s %9s %9s %9s %10s %13s\n" benchmark "vbs (s)" "lua (s)" "py (s)" "vbs/lua" "py/vbs"
for name in numeric_loop fib string_build array_work late_bound; do
    v=$(best_of "$vbs" "$scripts/$name.vbs")
    if [[ -f "$scripts/$name.lua" ]]; then
        l=$(best_of lua5.4 "$scripts/$name.lua")
        p=$(best_of python3 "$scripts/$name.py")
        printf "%-14s %9s %9s %9s %10s %13s\n" "$name" "$v" "$l" "$p" "$(ratio "$v" "$l")" "$(ratio "$p" "$v")"
    else
        # Only the engine can reach the simulated device.
        printf "%-14s %9s %9s %9s %10s %13s\n" "$name" "$v" "-" "-" "-" "-"
    fi
done
a=$(best_of "$vbs" "$scripts/append_200k.vbs")
echo "200,000 appends to one string with &: ${a} s"
