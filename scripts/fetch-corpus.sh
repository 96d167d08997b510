#!/usr/bin/env bash
# Fetches the module corpus the tests and benchmarks play: real XM and MOD files
# from Debian 12 game-data packages, listed with their package versions and
# sha256 sums in tests/corpus/MANIFEST.tsv (their licences: tests/corpus/licenses).
# The packages are fetched with apt-get download at the listed versions and
# unpacked with dpkg-deb; only the listed files are kept, each under the name
# PACKAGE__FILE. Files already present with the right sum are not fetched again.
#
#   bash scripts/fetch-corpus.sh [FOLDER]   (default build/corpus; the files go into FOLDER/modules)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/apt-download.sh
manifest=$PWD/tests/corpus/MANIFEST.tsv
dest=${1:-build/corpus}/modules
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)

# The packages (as PACKAGE=VERSION) that hold a file still missing or wrong.
wanted=()
while IFS=$'\t' read -r _ package version _ file _ sum; do
  if ! echo "$sum  $dest/$file" | sha256sum --check --status 2>/dev/null; then
    wanted+=("$package=$version")
  fi
done < <(tail -n +2 "$manifest")
[ ${#wanted[@]} -eq 0 ] && exit 0
mapfile -t wanted < <(printf '%s\n' "${wanted[@]}" | sort -u)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "Fetching the module corpus into $dest: ${wanted[*]}"
apt_download "$work" "${wanted[@]}" || exit 1

for deb in "$work"/*.deb; do
  dpkg-deb -x "$deb" "$work/root"
done
status=0
while IFS=$'\t' read -r _ package _ source_path file _ sum; do
  [ -f "$work/root$source_path" ] && cp "$work/root$source_path" "$dest/$file"
  if ! echo "$sum  $dest/$file" | sha256sum --check --status 2>/dev/null; then
    echo "$file from $package: missing or not the listed file (sha256 differs)" >&2
    rm -f "$dest/$file"
    status=1
  fi
done < <(tail -n +2 "$manifest")
exit $status
