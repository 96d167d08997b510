#!/usr/bin/env bash
# xmrender and xminfo as a user meets them: every bad argument or input ends
# with a message on stderr, nothing on stdout and the exit code in the table;
# the good paths answer --help and --version, stream WAV and raw to standard output,
# hear one channel alone, skip through a playlist and play through the (dummy)
# sound card.
set -u
xmrender=$1
xminfo=$2
module=$3
writer=$4 # the module writer of tools/xmconform
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$module" "$work/song.xm"
mkdir "$work/folder"
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# tool | arguments | exit code | text expected on stderr
while IFS='|' read -r tool args code message; do
    [ -z "$tool" ] && continue
    # shellcheck disable=SC2086 # the arguments are split on purpose
    timeout 20 "${!tool}" $args >out 2>err
    rc=$?
    [ "$rc" -eq "$code" ] || fail "$tool $args: exit code $rc, not $code"
    [ -s out ] && fail "$tool $args: wrote to stdout: $(head -c 200 out)"
    grep -q -F -- "$message" err || fail "$tool $args: stderr lacks '$message': $(cat err)"
done <<'TABLE'
xmrender|folder out.wav|1|folder: is a folder
xminfo|folder|1|folder: is a folder
xmrender|/dev/zero out.wav|1|too large for a module
xminfo|/dev/zero|1|too large for a module
xmrender|-t nan song.xm out.wav|2|option -t takes seconds
xmrender|-t inf song.xm out.wav|2|option -t takes seconds
xmrender|--time=1e20 song.xm out.wav|2|option --time takes seconds
xmrender|-d 1e300 song.xm out.wav|2|option -d takes seconds
xmrender|-t -1 song.xm out.wav|2|option -t takes seconds
xmrender|-i 1.5 song.xm out.wav|2|option -i takes a whole number
xmrender|-a 257 song.xm out.wav|2|option -a takes a whole number
xmrender|-t|2|option -t needs a value
xmrender|--bogus song.xm|2|unknown option --bogus
xmrender|song.xm song.xm|2|is the input module
xmrender|song.xm ./folder/../song.xm|2|is the input module
xmrender||2|no module given
xmrender|a b c|2|too many arguments
xminfo|song.xm song.xm|2|too many arguments
xmrender|missing.xm out.wav|1|missing.xm: No such file
xminfo|out.wav|1|No such file
xmrender|-t 1 song.xm folder|1|cannot write folder
xmrender|-f flac song.xm out.wav|2|option -f takes wav or raw, not 'flac'
xmrender|--format= song.xm out.wav|2|option --format takes wav or raw
xmrender|--solo 0 song.xm out.wav|2|option --solo takes channels from 1 to 256
xmrender|--mute 2-1 song.xm out.wav|2|option --mute takes channels
xmrender|--solo 1,,2 song.xm out.wav|2|option --solo takes channels
xmrender|--solo 3 song.xm out.wav|2|song.xm has no channel 3 (it has 2)
xmrender|--mute 1,300 song.xm|2|option --mute takes channels
xmrender|-p song.xm missing.xm|1|missing.xm: No such file
xmrender|-p --solo 1-3 song.xm|2|song.xm has no channel 3
xmrender|-p folder song.xm|1|folder: is a folder
TABLE
cmp -s song.xm "$module" || fail "the refused output overwrote the module"
printf 'not a module' >junk.xm
"$xminfo" junk.xm >out 2>err && fail "xminfo took junk.xm"
grep -q "not a loadable XM or MOD module" err || fail "xminfo junk.xm: $(cat err)"

for tool in xmrender xminfo; do
    "${!tool}" --help | grep -q "^usage: $tool" || fail "$tool --help"
    "${!tool}" --version | grep -q "^$tool (Quavero) [0-9]" || fail "$tool --version"
done
# A streamed WAV carries the same samples as a written file.
"$xmrender" -t 1 song.xm - >streamed.wav 2>err || fail "xmrender to stdout: $(cat err)"
"$xmrender" -t 1 song.xm written.wav >/dev/null || fail "xmrender to a file"
cmp -s <(tail -c +45 streamed.wav) <(tail -c +45 written.wav) || fail "streamed and written WAV samples differ"
"$xmrender" -t 1 song.xm - | head -c 4 | grep -q RIFF || fail "a piped WAV does not start with RIFF"
# Raw output is the WAV's samples without the header.
"$xmrender" -f raw -t 1 song.xm - >streamed.raw 2>err || fail "xmrender raw to stdout: $(cat err)"
"$xmrender" --format=raw -t 1 song.xm written.raw >/dev/null || fail "xmrender raw to a file"
cmp -s streamed.raw written.raw || fail "streamed and written raw output differ"
cmp -s streamed.raw <(tail -c +45 written.wav) || fail "raw output is not the WAV's samples"
# One channel alone: --solo 1 is --mute 2, neither is the whole song or silence, muting all is.
# (A module of its own: two voices, one a fifth above the other, from the first row.)
python3 -c "import sys; sys.path.insert(0, sys.argv[1]); import modwriter as w
s = w.Song(16, channels=2); s.set(0, 0, note=61, ins=1); s.set(0, 1, note=68, ins=1, fx=0xA, param=0x01)
open('two.xm', 'wb').write(w.xm_bytes(s))" "$writer" || fail "cannot write two.xm"
"$xmrender" -f raw two.xm whole.raw >/dev/null || fail "xmrender two.xm"
"$xmrender" -f raw --solo 1 two.xm solo.raw >/dev/null || fail "xmrender --solo"
"$xmrender" -f raw --mute 2 two.xm mute.raw >/dev/null || fail "xmrender --mute"
"$xmrender" -f raw --mute 1-2 two.xm none.raw >/dev/null || fail "xmrender --mute all"
"$xmrender" -f raw --solo 2 --mute 1 two.xm other.raw >/dev/null || fail "xmrender --solo 2"
cmp -s solo.raw mute.raw || fail "--solo 1 and --mute 2 differ"
cmp -s solo.raw whole.raw && fail "--solo 1 is the whole song"
cmp -s solo.raw other.raw && fail "--solo 1 is --solo 2"
[ "$(tr -d '\0' <solo.raw | wc -c)" -gt 1000 ] || fail "--solo 1 is silent"
[ "$(tr -d '\0' <none.raw | wc -c)" -eq 0 ] || fail "--mute 1-2 is not silent"
# A playlist: n (or Enter) goes on to the next song at once; the last one plays to its end.
printf 'n' | "$xmrender" -t 1 --play song.xm song.xm >out 2>err || fail "playlist: $(cat err)"
grep -q "\[1/2\] song.xm  Position .*Time 00:00.[0-5]" err || fail "n did not skip the first song: $(cat err)"
grep -q "\[2/2\] song.xm  Position .*Time 00:01.0" err || fail "the second song did not play: $(cat err)"
# Played through the sound card: the status line tells where the song is.
"$xmrender" -t 0.5 song.xm >out 2>err || fail "playing: $(cat err)"
grep -q "Position 000/.*Time 00:00" err || fail "playing shows no status line: $(cat err)"

[ "$failures" -eq 0 ] && echo "all tool checks passed"
exit $((failures > 0))
