#!/usr/bin/env bash
# Fetches SDL 1.2 as today's desktops ship it, sdl12-compat over SDL 2, for the
# suite's second run of the played-through game: the Debian 12 packages listed
# with their versions and sha256 sums in tests/app/sdl12-compat.tsv, fetched
# with apt-get download, checked, unpacked with dpkg-deb, and their libraries
# copied into FOLDER/lib, which the test puts first on LD_LIBRARY_PATH. Nothing
# is installed. Libraries already present are kept.
#
#   bash scripts/fetch-sdl12-compat.sh [FOLDER]   (default build/sdl12-compat)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/apt-download.sh
manifest=$PWD/tests/app/sdl12-compat.tsv
dest=${1:-build/sdl12-compat}
if [ "$(dpkg --print-architecture)" != amd64 ]; then
  echo "sdl12-compat lane: the listed packages are for amd64; the lane is skipped here"
  exit 0
fi
mkdir -p "$dest/lib"
dest=$(cd "$dest" && pwd)

complete=1
while IFS=$'\t' read -r _ _ _ library; do
  [ -e "$dest/lib/$(basename "$library")" ] || complete=0
done < <(tail -n +2 "$manifest")
[ "$complete" -eq 1 ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wanted=()
while IFS=$'\t' read -r package version _ _; do
  wanted+=("$package=$version")
done < <(tail -n +2 "$manifest")
echo "Fetching sdl12-compat into $dest: ${wanted[*]}"
apt_download "$work" "${wanted[@]}" || exit 1

while IFS=$'\t' read -r package version sum library; do
  deb=$(ls "$work/${package}_"*.deb)
  if ! echo "$sum  $deb" | sha256sum --check --status; then
    echo "$package $version: not the listed package (sha256 differs)" >&2
    exit 1
  fi
  dpkg-deb -x "$deb" "$work/root"
  cp -L "$work/root/$library" "$dest/lib/"
done < <(tail -n +2 "$manifest")
