#!/usr/bin/env bash
# Proves that the Debian package installs and runs on a clean Debian 12:
#  1. builds the package (cpack -G DEB in build/);
#  2. makes a minimal Debian 12 root with mmdebstrap, from the mirror apt here uses;
#  3. installs the package there with apt, which must pull SDL 1.2, libvorbisfile,
#     zlib and GL;
#  4. starts the installed /usr/games/quavero in that root on a virtual display,
#     skips to the title and keeps a screenshot, and runs the installed tools.
# Run as root (chroot and mounts); exit code 77 when this machine cannot make the root. Leaves build/package-check/ with the game's
# log and title.png, and the root itself when a step failed.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$PWD/build/package-check
root=$work/root

fail() {
  echo "check-package: $*" >&2
  exit 1
}

# Unmounts what was mounted into the root; a folder still mounted is never deleted.
unmount_root() {
  local m
  for m in tmp dev proc; do
    if mountpoint -q "$root/$m"; then umount "$root/$m" || umount -l "$root/$m"; fi
  done
  return 0
}
remove_root() {
  unmount_root
  ! grep -q " $root/" /proc/mounts || fail "$root still has mounts; not deleting it"
  rm -rf --one-file-system "$root"
}

# Step 4, run under scripts/with-display.sh: the game in the root draws on the
# display of this machine's Xvfb through its abstract socket.
play() {
  local log=$work/game.log audio=$root/tmp/audio.raw window="" mean
  chroot "$root" env -i DISPLAY="$DISPLAY" HOME=/root QUAVERO_LOG=1 SDL_AUDIODRIVER=disk \
    SDL_DISKAUDIOFILE=/tmp/audio.raw SDL_DISKAUDIODELAY=20 /usr/games/quavero 2>"$log" &
  game=$!
  trap 'kill "$game" 2>/dev/null; wait "$game" 2>/dev/null || true' EXIT
  for _ in $(seq 1 100); do
    window=$(xdotool search --name '^Quavero$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { cat "$log"; fail "the installed game opened no window"; }
  for _ in $(seq 1 300); do
    grep -q "Texture set three uploaded..." "$log" && break
    sleep 0.1
  done
  grep -q "Texture set three uploaded..." "$log" || { cat "$log"; fail "the installed game never finished loading"; }
  # The splash, then a click ends the start-up scroller and the title slides in.
  sleep 4
  xdotool mousemove --window "$window" 400 240 mousedown 1 sleep 0.1 mouseup 1
  sleep 4
  import -window "$window" "$work/title.png"
  mean=$(convert "$work/title.png" -colorspace Gray -format '%[fx:mean]' info:)
  awk -v m="$mean" 'BEGIN { exit !(m > 0.03) }' || fail "the screen is black (mean brightness $mean)"
  kill -0 "$game" 2>/dev/null || { cat "$log"; fail "the installed game ended by itself"; }
  local peak
  peak=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$audio" -n trim 0 12 stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
  awk -v p="${peak:-0}" 'BEGIN { exit !(p > 0.01) }' || fail "the installed game played no sound (peak ${peak:-none})"
  echo "the installed game reached the title: $work/title.png (brightness $mean, sound peak $peak)"
}

if [ "${1:-}" = "--play" ]; then
  play
  exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "check-package: run as root: it makes a root folder, mounts into it and uses chroot" >&2; exit 77; }
bash scripts/setup.sh
missing=()
for p in mmdebstrap dpkg-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"

bash scripts/build.sh
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/quavero_*_"$(dpkg --print-architecture)".deb)
echo "package: $deb"

# The Debian mirrors apt on this machine already reads.
mirror_of() { apt-cache policy | awk -v s="$1/main" '$3 == s && $NF == "Packages" {print $2; exit}'; }
main=$(mirror_of bookworm)
[ -n "$main" ] || fail "apt knows no bookworm mirror (run apt-get update)"
sources=("deb $main bookworm main" "deb $main bookworm-updates main")
security=$(mirror_of bookworm-security)
[ -n "$security" ] && sources+=("deb $security bookworm-security main")

remove_root
mkdir -p "$work"
# A machine that cannot make a root (no mirror, no mounts) says so with its own
# exit code, so the test command can tell it from a package that fails.
mmdebstrap --quiet --mode=root --variant=apt bookworm "$root" "${sources[@]}" ||
  { echo "check-package: cannot make a Debian 12 root on this machine" >&2; exit 77; }

mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount -t tmpfs tmpfs "$root/tmp"
trap unmount_root EXIT
cp "$deb" "$root/tmp/"
installed() { chroot "$root" dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" {print $2}' | sort; }
installed >"$work/before"
# The new root keeps no package lists; its network settings come from here.
cp /etc/resolv.conf "$root/etc/resolv.conf"
chroot "$root" apt-get update -qq
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" >"$work/apt.log" 2>&1 ||
  { tail -30 "$work/apt.log"; fail "apt install of the package failed"; }
installed >"$work/after"
pulled=$(comm -13 "$work/before" "$work/after")
for p in quavero libsdl1.2debian libvorbisfile3 libgl1 libgl1-mesa-dri; do
  grep -qx "$p" <<<"$pulled" || fail "apt install did not bring $p"
done
grep -qx zlib1g "$work/after" || fail "zlib1g is not installed"
echo "apt install pulled $(wc -l <<<"$pulled") packages, among them: $(grep -E '^(libsdl1.2debian|libvorbisfile3|libgl1|libgl1-mesa-dri)$' <<<"$pulled" | tr '\n' ' ')"

chroot "$root" xmrender --version
cp data/2012_skyward_nobass.xm "$root/tmp/song.xm"
chroot "$root" xmrender -t 2 /tmp/song.xm /tmp/song.wav
chroot "$root" xminfo /tmp/song.xm | head -2

bash scripts/with-display.sh bash "$0" --play
remove_root
