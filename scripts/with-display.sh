#!/usr/bin/env bash
# Runs a command with a private virtual X display (Xvfb, 1280 x 720, 24-bit).
# Xvfb picks a free display number itself, so parallel runs never collide, and
# -noreset keeps it from dropping new clients while it resets after the last one.
set -euo pipefail
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 5 -noreset -screen 0 1280x720x24 -nolisten tcp 5>"$fifo" 2>/dev/null &
xvfb_pid=$!
read -r display <"$fifo"
rm -f "$fifo"
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true' EXIT
export DISPLAY=":$display"
unset XAUTHORITY
"$@"
