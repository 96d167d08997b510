#!/usr/bin/env bash
# Plays the real game under the suite's X display: the loading log in order,
# the screens on the way to a track, one game lost with the mouse and one won
# with the keys alone, and the sound it writes through SDL's disk audio driver
# (silent while loading, the menu music, the track's melody, and each ending
# jingle falling to silence before the menu music comes back); then Alt+F4.
# On the way it mutes and turns the music down on the title, loses the focus
# there, switches to full screen and back, and pauses in the player's turn (the
# recording silent while paused, the resuming key not taken as a tab).
# With "lose" as the second argument it quits during the game-over jingle instead:
# the sanitizer build's run, which sees the same code in minutes less.
# A third argument names a folder of SDL libraries put first on the library path
# (the sdl12-compat lane); the run checks that the game really loaded them.
# The game's trace (QUAVERO_LOG) says when a screen or a turn begins, so the
# test waits on its lines rather than on fixed sleeps.
# SHOTS=dir keeps a screenshot of every screen passed, the log and the sound.
set -u
game=$1
path=${2:-win}
libraries=${3:-}
if [ -n "$libraries" ]; then
    [ -e "$libraries/libSDL-1.2.so.0" ] || { echo "no SDL library in $libraries (scripts/fetch-sdl12-compat.sh fetches it)"; exit 77; }
    export LD_LIBRARY_PATH="$libraries${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
fi
work=$(mktemp -d)
log=$work/log
audio=$work/audio.raw
failures=0
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "${SHOTS:-}" ] && cp "$log" "$audio" "$SHOTS/"; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
. "$(dirname "$0")/log_lines.sh"

# Brightness 0..1 of the window now, kept as name.png.
capture() {
    local name=$1
    import -window "$window" "$work/$name.png" 2>/dev/null
    [ -n "${SHOTS:-}" ] && cp "$work/$name.png" "$SHOTS/$name.png"
    convert "$work/$name.png" -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null
}

bright() { awk -v m="${1:-0}" 'BEGIN { exit !(m > 0.03) }'; }

shot() {
    local mean
    mean=$(capture "$1")
    bright "$mean" || fail "the $1 screen is black (mean $mean)"
}

click() {
    xdotool mousemove --window "$window" "$1" "$2"
    sleep 0.05
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
}

# A key, with a frame's pause after it so the next key lands in a later update.
press() {
    xdotool key --window "$window" "$1" 2>/dev/null
    sleep 0.2
}

# Lines of the log holding a text.
count() { grep -c -F -- "$1" "$log"; }

# Whether the log holds a text at least n times within some seconds.
logged_within() {
    local text=$1 n=$2 polls i
    polls=$(awk -v s="$3" 'BEGIN { print int(s * 20) }')
    for ((i = 0; i < polls; i++)); do
        [ "$(count "$text")" -ge "$n" ] && return 0
        sleep 0.05
    done
    return 1
}

# Waits until the log holds a text at least n times (default once); a failure after the time is up.
wait_log() {
    logged_within "$1" "${2:-1}" "${3:-30}" && return 0
    fail "'$1' not logged ${2:-1} times within ${3:-30} s"
    return 1
}

state() { wait_log "Entering screen state $1..." "${2:-1}" "${3:-30}"; }

# Seconds of sound recorded so far.
recorded() { stat -c %s "$audio" | awk '{print $1 / 176400}'; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { print a - b }'; }

# Peak amplitude (0..1) of a stretch of the recorded audio: start and length in seconds.
peak() {
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$audio" -n trim "$1" "$2" stat 2>&1 |
        awk '/Maximum amplitude/ {print $3}'
}

# Peak of the sound recorded over the next seconds (from 0.1 s on, past the block in flight).
peak_ahead() {
    local from
    from=$(awk -v r="$(recorded)" 'BEGIN { print r + 0.1 }')
    sleep "$(awk -v s="$1" 'BEGIN { print s + 0.35 }')"
    peak "$from" "$1"
}

# The window's focus given to the root window: SDL reports the loss of the input focus.
focus_away() {
    xdotool windowfocus --sync "$window" 2>/dev/null
    sleep 0.2
    xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')" 2>/dev/null
}

# Pauses with P (or the focus loss), checks the panel and that nothing is heard,
# then resumes with a tab's key, which must not be taken as the player's answer.
pause_and_resume() {
    local name=$1 how=$2 chosen paused quiet
    chosen=$(count "Player chooses tab")
    paused=$(count "Paused...")
    if [ "$how" = focus ]; then focus_away; else press p; fi
    wait_log "Paused..." $((paused + 1)) 3 || return 1
    shot "$name"
    quiet=$(peak_ahead 1.5)
    awk -v p="${quiet:-1}" 'BEGIN { exit !(p == 0) }' || fail "sound while paused ($name, peak $quiet)"
    press 1
    wait_log "Resumed..." $((paused + 1)) 3
    sleep 0.3
    [ "$(count "Player chooses tab")" -eq "$chosen" ] || fail "the key that resumed ($name) was taken as a tab"
}

# Switches to full screen and back, each through the loading pass; the screen
# comes back as it was, without entering any state anew.
full_screen_and_back() {
    local entered before_shot paused
    # Focusing the window, and the switches, take the focus away for a moment: no pause.
    paused=$(count "Paused...")
    xdotool windowfocus --sync "$window" 2>/dev/null
    sleep 1 # the volume indicator gone
    entered=$(count "Entering screen state")
    capture before_full_screen >/dev/null
    before_shot=$work/before_full_screen.png
    xdotool key --window "$window" F11
    wait_log "Switching to full screen..." 1 5
    sleep 1.5
    local size
    size=$(xwininfo -root -tree | awk '/"Quavero"/ {print $(NF-1)}' | head -1)
    import -window root "$work/full_screen.png" 2>/dev/null
    [ -n "${SHOTS:-}" ] && cp "$work/full_screen.png" "$SHOTS/"
    bright "$(convert "$work/full_screen.png" -colorspace Gray -format '%[fx:mean]' info:)" ||
        fail "the full screen is black"
    xdotool key --window "$window" alt+Return
    wait_log "Switching to a window..." 1 5
    # Back in a window, the focus goes back to it, as a window manager gives it.
    xdotool windowfocus "$window" 2>/dev/null
    sleep 1.5
    shot after_full_screen
    [ "$(window_size)" = "800x480" ] || fail "back from full screen the window is $(window_size), not 800x480"
    [ "$(count "Entering screen state")" -eq "$entered" ] || fail "full screen and back entered a screen state anew"
    [ "$(count "Paused...")" -eq "$paused" ] || fail "full screen and back paused the game"
    local difference
    difference=$(compare -metric RMSE "$before_shot" "$work/after_full_screen.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk -v d="${difference:-1}" 'BEGIN { exit !(d < 0.08) }' ||
        fail "the screen after full screen and back differs from before (RMSE $difference)"
}

window_size() { xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# The tabs the computer played in the phrase before the player's latest turn.
phrase() {
    awk '/Computer plays tab/ { t = $NF; sub(/\.+$/, "", t); p = p " " t }
         /Your turn\.\.\./ { last = p; p = "" }
         END { print last }' "$log"
}

# Repeats each phrase on the keys as a player would, until the melody is complete:
# digits on odd turns, the keypad on even ones.
digits=(1 2 3 4)
keypad=(KP_7 KP_9 KP_1 KP_3)
win_with_keys() {
    local turn=$1 tab i
    while [ "$(count "Melody complete...")" -eq 0 ]; do
        for ((i = 0; i < 600; i++)); do
            [ "$(count "Your turn...")" -ge "$turn" ] || [ "$(count "Melody complete...")" -gt 0 ] && break
            sleep 0.05
        done
        [ "$(count "Melody complete...")" -gt 0 ] && return 0
        [ "$(count "Your turn...")" -ge "$turn" ] || { fail "no turn $turn"; return 1; }
        for tab in $(phrase); do
            local chosen attempt
            chosen=$(count "Player chooses tab")
            # The update that takes an answer reads no key, so one may be missed: press again.
            for attempt in 1 2 3; do
                if [ $((turn % 2)) -eq 1 ]; then press "${digits[$tab]}"; else press "${keypad[$tab]}"; fi
                logged_within "Player chooses tab" $((chosen + 1)) 1.5 && break
            done
            [ "$(count "Player chooses tab")" -gt "$chosen" ] || { fail "tab $tab not taken in turn $turn"; return 1; }
            if [ "$turn" -eq 5 ] && [ -z "${paused_mid_phrase:-}" ]; then
                # In the middle of the phrase: paused, silent, resumed, and the phrase still won.
                paused_mid_phrase=1
                sleep 1
                pause_and_resume paused_mid_phrase p
            fi
            if [ -z "${quick_answer_seen:-}" ]; then
                # The computer's next phrase after a quick answer: no bubble left over.
                quick_answer_seen=1
                wait_log "Computer plays tab" $(($(count "Computer plays tab") + 1)) 10 && shot computer_after_quick_answer
            fi
        done
        turn=$((turn + 1))
    done
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$audio SDL_DISKAUDIODELAY=23 QUAVERO_LOG=1 "$game" 2>"$log" &
pid=$!
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Quavero$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { fail "no window"; exit 1; }
if [ -n "$libraries" ]; then
    grep -q "$libraries/libSDL-1.2" "/proc/$pid/maps" && grep -q "libSDL2-2.0" "/proc/$pid/maps" ||
        fail "the game did not load SDL from $libraries"
fi
# The window exists a moment before its first frame.
seen=0
means=""
for _ in $(seq 1 40); do
    mean=$(capture loading)
    means="$means $mean"
    bright "$mean" && { seen=1; break; }
    sleep 0.02
done
[ "$seen" -eq 1 ] || fail "the loading screen never showed (brightness$means)"

wait_log "Texture set three uploaded..." 1 20 || { cat "$log"; exit 1; }

sleep 1.2
shot splash
state 15000
sleep 1.5
shot scroller
click 400 240 # skip the scroller
state 20001
shot title
at_title=$(recorded)

# The sound keys on the title's menu music: mute silences it, four steps down
# make it quieter, and the level comes back.
sleep 1.6
loud=$(peak_ahead 1.5)
press m
shot volume_muted
muted=$(peak_ahead 1)
press m
for _ in 1 2 3 4; do press minus; done
shot volume_down
quiet=$(peak_ahead 1.5)
for _ in 1 2 3 4; do press equal; done
awk -v p="${muted:-1}" 'BEGIN { exit !(p == 0) }' || fail "the menu music is heard while muted (peak $muted)"
awk -v q="${quiet:-1}" -v l="${loud:-0}" 'BEGIN { exit !(l > 0.05 && q < l / 2) }' ||
    fail "four steps down did not lower the menu music by 12 dB (peak $loud, then $quiet)"
full_screen_and_back
pause_and_resume title_focus_lost focus
click 630 240 # play
state 50001
shot track_selection
click 100 200 # the first track
state 60001
sleep 0.6
shot game_listening
sleep 4
shot game_melody
melody=$(peak "$(minus "$(recorded)" 2.5)" 2)

# A game lost with the mouse: the hub is always a wrong tab.
for life in 1 2 3; do
    wait_log "Your turn..." "$life" 60 || break
    [ "$life" -eq 1 ] && { sleep 0.4; shot players_turn; pause_and_resume paused_first_turn p; }
    click 400 240
    wait_log "Wrong tab, a life lost..." "$life" 10 || break
done
wait_log "Game over..." 1 20
if [ "$path" = win ]; then
    state 20000 2 30
    over_end=$(recorded)
    over_stat=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$audio" -n trim "$(minus "$over_end" 3.1)" 3 stat 2>&1)
    over=$(peak "$(minus "$over_end" 0.8)" 0.5)

    # A game won with the keys alone, from the title menu on.
    state 20001 2
    press Return # shows the highlight on "play"
    press Return
    state 50001 2
    press Right # the highlight on the first track
    press Return
    state 60001 2
    win_with_keys 4
    wait_log "Melody complete..." 1 5
    state 20000 3 30
    done_end=$(recorded)
    done_tail=$(peak "$(minus "$done_end" 0.8)" 0.5)
    [ "$(count "Wrong tab")" -eq 3 ] || fail "the keys made mistakes ($(count "Wrong tab") lives lost in all)"
else
    sleep 1 # into the jingle
fi
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key alt+F4
if logged_within "Terminating Application" 1 5; then
    wait "$pid"
    code=$?
    pid=""
    [ "$code" -eq 0 ] || fail "the game ended with exit code $code"
else
    fail "Alt+F4 did not end the game within 5 s"
fi

# The log, read once the game has ended. The load thread's own test holds every
# loading step in order; here no real asset may fail, and the uploads follow the load.
grep -E '^\[(Game|Main)\] .*!$' "$log" && fail "the lines above report failures"
expect_lines_in_order "$log" "[Game] Loading loading screen...
[Game] Loading screen loaded...
[Game] Loading font...
[Game] Texture set data three loaded...
[Game] Uploading texture set one...
[Game] Texture set one uploaded...
[Game] Uploading texture set three...
[Game] Texture set three uploaded..."

before=$(peak 0 0.04)
menu=$(peak "$(minus "$at_title" 2)" 1.5)
awk -v p="${before:-1}" 'BEGIN { exit !(p == 0) }' || fail "audio before loading is not silent (peak $before)"
awk -v p="${menu:-0}" 'BEGIN { exit !(p > 0.02) }' || fail "no menu music in the title screen (peak $menu)"
awk -v p="${melody:-0}" 'BEGIN { exit !(p > 0.05) }' || fail "the track is not heard after the click (peak $melody)"
if [ "$path" = win ]; then
    # A jingle that started over would open loudly again just before the menu music;
    # one that lasts falls to silence.
    awk -v p="${over:-1}" 'BEGIN { exit !(p < 0.01) }' || fail "the game-over jingle is not silent before the menu music (peak $over)"
    awk -v p="${done_tail:-1}" 'BEGIN { exit !(p < 0.01) }' || fail "the level-done jingle is not silent before the menu music (peak $done_tail)"
    echo "last 3 s of the game-over jingle before the menu music (from $(minus "$over_end" 3.1) s of the recording):"
    echo "$over_stat" | grep -E "Length|Maximum amplitude|RMS +amplitude"
fi
echo "game flow test ($path${libraries:+, SDL from $libraries}) ended with $failures failures (audio peak before" \
    "loading $before, menu music $menu (muted $muted, four steps down $loud to $quiet), melody $melody," \
    "game-over tail ${over:-not heard}, level-done tail ${done_tail:-not heard})"
[ "$failures" -eq 0 ]
