#!/usr/bin/env bash
# Plays the real game under the suite's X display: the loading log in order,
# the screens on the way to a track, and the sound it writes through SDL's disk
# audio driver (silent while loading, the track's melody after the click).
# SHOTS=dir keeps a screenshot of every screen passed.
set -u
game=$1
work=$(mktemp -d)
log=$work/log
audio=$work/audio.raw
failures=0
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

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

# Peak amplitude (0..1) of a stretch of the recorded audio: start and length in seconds.
peak() {
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$audio" -n trim "$1" "$2" stat 2>&1 |
        awk '/Maximum amplitude/ {print $3}'
}

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$audio SDL_DISKAUDIODELAY=20 QUAVERO_LOG=1 "$game" 2>"$log" &
pid=$!
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Quavero$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { fail "no window"; exit 1; }
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

loaded=0
for _ in $(seq 1 200); do
    grep -q "Texture set three uploaded..." "$log" && { loaded=1; break; }
    sleep 0.1
done
[ "$loaded" -eq 1 ] || { fail "the textures were never uploaded"; cat "$log"; exit 1; }


sleep 1.2
shot splash
sleep 2.8
shot scroller
click 400 240 # skip the scroller
sleep 3.5
shot title
at_title=$(stat -c %s "$audio" | awk '{print $1 / 176400}')
click 630 240 # play
sleep 4.2
shot track_selection
click 100 200 # the first track
sleep 2.5
shot game_listening
sleep 6
shot game_melody
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
pid=""
# The log, read once the game has ended: every loading step in order.
expected="Loading loading screen...
Loading screen loaded...
Loading font...
Font loaded...
Loading font data...
Font data loaded...
Loading tracks...
Tracks loaded..
Loading music...
Loading level done jingle...
Loading game over jingle...
Loading fail sound...
Fail sound loaded...
Loading so listen up sound...
So listen up sound loaded...
Loading my turn sound...
My turn sound loaded...
Loading your turn sound...
Your turn sound loaded...
Loading areyoukiddingme sound...
areyoukiddingme sound loaded...
Loading greatgameplaydude sound...
greatgameplaydude sound loaded...
Loading texture set one...
Texture set one loaded...
Loading texture set two...
Texture set two loaded...
Loading texture set three...
Texture set three loaded...
Loading texture set data one...
Texture set data one loaded...
Loading texture set data two...
Texture set data two loaded...
Loading texture set data three...
Texture set data three loaded...
Uploading font texture...
Font texture uploaded...
Uploading texture set one...
Texture set one uploaded...
Uploading texture set two...
Texture set two uploaded...
Uploading texture set three...
Texture set three uploaded..."
position=0
while IFS= read -r line; do
    found=$(grep -n -F -x -- "[Game] $line" "$log" | cut -d: -f1 | awk -v after="$position" '$1 > after {print; exit}')
    [ -z "$found" ] && found=$(grep -n -F -x -- "[Main] $line" "$log" | cut -d: -f1 | awk -v after="$position" '$1 > after {print; exit}')
    if [ -z "$found" ]; then
        fail "log line '$line' missing or out of order"
        cat "$log"
        break
    fi
    position=$found
done <<<"$expected"
grep -q "Can't load tracks!" "$log" && fail "a track did not load"

seconds=$(stat -c %s "$audio" | awk '{print $1 / 176400}')
before=$(peak 0 0.04)
menu=$(peak "$(awk -v s="$at_title" 'BEGIN {print s - 2}')" 1.5)
after=$(peak "$(awk -v s="$seconds" 'BEGIN {print s - 3}')" 3)
awk -v p="${before:-1}" 'BEGIN { exit !(p == 0) }' || fail "audio before loading is not silent (peak $before)"
awk -v p="${menu:-0}" 'BEGIN { exit !(p > 0.02) }' || fail "no menu music in the title screen (peak $menu)"
awk -v p="${after:-0}" 'BEGIN { exit !(p > 0.05) }' || fail "the track is not heard after the click (peak $after in the last 3 of $seconds s)"

if [ "$failures" -eq 0 ]; then
    echo "game flow test passed (audio peak before loading $before, menu music $menu, while the track plays $after)"
    exit 0
fi
exit 1
