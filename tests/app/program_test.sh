#!/usr/bin/env bash
# Runs the real game under the suite's X display and checks what a player and
# a desktop see: the window, its caption and size, the log, and clean exits.
set -u
game=$1
send_close=$2
log=$(mktemp)
failures=0
trap 'rm -f "$log"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
. "$(dirname "$0")/log_lines.sh"

# Starts the game with the given arguments and waits for its window; sets pid and window.
start_game() {
    QUAVERO_LOG=1 "$game" "$@" 2>"$log" &
    pid=$!
    window=""
    for _ in $(seq 1 100); do
        window=$(xdotool search --name '^Quavero$' 2>/dev/null | head -1)
        [ -n "$window" ] && return 0
        sleep 0.1
    done
    fail "no window titled Quavero for arguments '$*'"; cat "$log"
    kill "$pid" 2>/dev/null
    return 1
}

# Waits up to two seconds for the game to end; checks exit code 0.
expect_exit_within_two_seconds() {
    local what=$1
    for _ in $(seq 1 20); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "$what did not end the game within two seconds"
        kill -9 "$pid"
        wait "$pid" 2>/dev/null
        return
    fi
    wait "$pid"
    local code=$?
    [ "$code" -eq 0 ] || fail "$what ended the game with exit code $code"
}

window_size() { xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# 1. Default window, plain F4 ignored, Alt+F4 quits, and the log tells the whole story in order.
if start_game; then
    [ "$(window_size)" = "800x480" ] || fail "default window is $(window_size), not 800x480"
    xdotool key --window "$window" F4
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || fail "plain F4 ended the game"
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key alt+F4
    expect_exit_within_two_seconds "Alt+F4"
    expected="Starting Application
Initializing data...
Initializing OpenGL...
Initializing audio...
Setting screen width and height...
Unloading texture shader...
Compiling texture shader...
Loading quad VBO buffers...
Entering main loop...
Main loop leaved...
Terminating Application"
    expect_lines_in_order "$log" "$expected"
fi

# 2. A size from the command line.
if start_game 1024 600; then
    [ "$(window_size)" = "1024x600" ] || fail "1024 600 gave $(window_size)"
    "$send_close" "$window"
    expect_exit_within_two_seconds "closing the window"
fi

# 3. Nonsense arguments still give a sane window.
if start_game -5 abc F extra; then
    [ "$(window_size)" = "800x480" ] || fail "nonsense arguments gave $(window_size)"
    "$send_close" "$window"
    expect_exit_within_two_seconds "closing the window"
fi

# 4. No display at all: the fatal path logs its reason and still exits with code 0.
DISPLAY= SDL_VIDEODRIVER=x11 QUAVERO_LOG=1 "$game" 2>"$log"
code=$?
[ "$code" -eq 0 ] || fail "without a display the game exited with code $code"
grep -q "Could not initialize SDL : " "$log" || { fail "without a display the fatal message is missing"; cat "$log"; }

if [ "$failures" -eq 0 ]; then
    echo "program test passed"
    exit 0
fi
exit 1
