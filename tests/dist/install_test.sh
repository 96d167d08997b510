#!/usr/bin/env bash
# Installs the build into a staging folder with the prefix /usr and checks the
# tree as Debian would: the files and their modes, the desktop entry and the
# metainfo through their validators, the manual pages through man, the icons.
set -u
build=$1
stage=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$stage"
if ! DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$stage.log" 2>&1; then
    cat "$stage.log"
    echo "FAIL: cmake --install"
    exit 1
fi
cd "$stage"

expected="755 usr/bin/xminfo
755 usr/bin/xmrender
755 usr/games/quavero
644 usr/share/applications/org.example.quavero.desktop
644 usr/share/doc/quavero/changelog.gz
644 usr/share/doc/quavero/copyright
644 usr/share/icons/hicolor/128x128/apps/quavero.png
644 usr/share/icons/hicolor/256x256/apps/quavero.png
644 usr/share/icons/hicolor/48x48/apps/quavero.png
644 usr/share/icons/hicolor/64x64/apps/quavero.png
644 usr/share/icons/hicolor/scalable/apps/quavero.svg
644 usr/share/man/man1/xminfo.1.gz
644 usr/share/man/man1/xmrender.1.gz
644 usr/share/man/man6/quavero.6.gz
644 usr/share/metainfo/org.example.quavero.metainfo.xml"
actual=$(find . -type f -printf '%m %P\n' | sort -k2)
[ "$actual" = "$expected" ] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
[ -z "$(find . -perm /022 ! -type l)" ] || fail "group- or world-writable: $(find . -perm /022 ! -type l)"

out=$(desktop-file-validate usr/share/applications/*.desktop 2>&1) && [ -z "$out" ] ||
    fail "desktop-file-validate: $out"
out=$(appstreamcli validate-tree --no-net --pedantic . 2>&1) ||
    fail "appstreamcli validate-tree: $out"
[ "$(echo "$out" | grep -c -v 'Validation was successful')" -eq 0 ] || fail "appstreamcli has notes: $out"
grep -qx "Exec=quavero" usr/share/applications/*.desktop || fail "the desktop entry does not start quavero"
grep -qx "Icon=quavero" usr/share/applications/*.desktop || fail "the desktop entry does not show the icon"
grep -q "<release version=\"$(usr/bin/xmrender --version | awk '{print $3}')\"" usr/share/metainfo/*.xml ||
    fail "metainfo and xmrender --version disagree on the version"

for page in usr/share/man/man*/*.gz; do
    out=$(man --warnings -l "$page" 2>&1 >/dev/null) && [ -z "$out" ] || fail "man --warnings $page: $out"
done
zcat usr/share/man/man6/quavero.6.gz | grep -q QUAVERO_LOG || fail "quavero.6 does not mention QUAVERO_LOG"

for size in 48 64 128 256; do
    got=$(identify -format '%wx%h' "usr/share/icons/hicolor/${size}x${size}/apps/quavero.png" 2>&1)
    [ "$got" = "${size}x${size}" ] || fail "the ${size}px icon is $got"
done

[ "$failures" -eq 0 ] && echo "installed tree is complete and valid"
exit $((failures > 0))
