#!/usr/bin/env bash
# xmrender and xminfo as a user meets them: every bad argument or input ends
# with a message on stderr, nothing on stdout and the exit code in the table;
# the good paths answer --help and --version, stream WAV to standard output
# and play through the (dummy) sound card.
set -u
xmrender=$1
xminfo=$2
module=$3
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
# Played through the sound card: the status line tells where the song is.
"$xmrender" -t 0.5 song.xm >out 2>err || fail "playing: $(cat err)"
grep -q "Position 000/.*Time 00:00" err || fail "playing shows no status line: $(cat err)"

[ "$failures" -eq 0 ] && echo "all tool checks passed"
exit $((failures > 0))
