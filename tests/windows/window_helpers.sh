# Shared by the tests that drive ZORVApp.exe under Wine on the display they
# are given (xvfb-run), sourced after `wine` is set. The program runs in a
# Wine prefix of its own, made here and removed after: a Wine session binds
# its desktop to the display of the first program that needs one, so sharing
# the prefix of tests that run with no display (or with another virtual
# display, gone since) would leave the window nowhere.

wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver

pid=
window=
# Removed with the prefix at the end; a test may add its own folders.
leftovers=()
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "${leftovers[@]}"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The program's main window, once it is there.
main_window() {
    xdotool search --name '^ZORV - ' 2>/dev/null | head -1
}

# Waits until `condition` holds, the program still running; fails after `seconds`.
wait_for() {
    local seconds=$1 what=$2 condition=$3
    local deadline=$((SECONDS + seconds))
    until eval "$condition"; do
        kill -0 "$pid" 2>/dev/null || fail "the program ended while waiting for $what"
        [ $SECONDS -lt $deadline ] || fail "no $what within $seconds s"
        sleep 0.5
    done
}

title_is() {
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ]
}

# The prefix is made without the program's DLL path; wineboot returns
# before it is ready.
make_prefix() {
    env -u WINEPATH "$wine" wineboot -i >/dev/null 2>&1
    timeout 180 "$wineserver" -w || fail "the Wine prefix was not ready within 180 s"
}

# Starts PROGRAM from its folder and waits for its main window, on the
# first kind; `window` is then the main window.
start_program() {
    local program=$1 seconds=$2
    (cd "$(dirname "$program")" && exec "$wine" "$program") &
    pid=$!
    wait_for "$seconds" "main window" '[ -n "$(main_window)" ]'
    window=$(main_window)
}

# Alt+F4 on the main window; the program must end, with status 0, within `seconds`.
close_program() {
    local seconds=$1
    xdotool key --window "$window" alt+F4
    local deadline=$((SECONDS + seconds))
    while kill -0 "$pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || fail "the program did not end within $seconds s of Alt+F4"
        sleep 0.5
    done
    local status=0
    wait "$pid" || status=$?
    pid=
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
