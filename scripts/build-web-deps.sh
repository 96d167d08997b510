#!/usr/bin/env bash
# Builds the C libraries the browser build links (zlib, libogg, libvorbis with
# vorbisfile), and libpng, the reference decoder of the PNG tests under node, with Debian's Emscripten from Debian 12's own source packages,
# fetched with apt-get source at pinned versions and checked by sha256.
# Static libraries and headers go into DIR/prefix/{lib,include}; a second run
# with the same pinned versions finds the stamp and does nothing.
#
#   bash scripts/build-web-deps.sh [DIR]   (default build-web/deps)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-web/deps}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
prefix=$dir/prefix

# PACKAGE=VERSION, and the sha256 of every file apt-get source fetches for it.
SOURCES=(zlib=1:1.2.13.dfsg-1 libogg=1.3.5-3 libvorbis=1.3.7-1 libpng1.6=1.6.39-2+deb12u5)
SUMS="\
3fa1e6b2fc525062aa88207dda52fed8e045373c809d362fe8a2bfbf7cf515a8  zlib_1.2.13.dfsg-1.dsc
71feb7947e3c00ef125f83b79a4e529bde31171e5babe48b391f06758d1ab0a1  zlib_1.2.13.dfsg.orig.tar.bz2
f66cf3d4f2d7defcd4d1fd1fb0a11ee39f1e01b42ec7d059c9dc5c1695133c44  zlib_1.2.13.dfsg-1.debian.tar.xz
dd0bac7c6961f95290250f82940aba93582edc3924372afc8fd310af5db995a0  libogg_1.3.5-3.dsc
c4d91be36fc8e54deae7575241e03f4211eb102afb3fc0775fbbc1b740016705  libogg_1.3.5.orig.tar.xz
980cc7c95d72d2a9c56cf9d602b8296c6551528890f28fee6769b801ea0e54f3  libogg_1.3.5-3.debian.tar.xz
b25d27beb9162607c95cf58aa2b764d110bd1a1568d3926a96c523320b49171f  libvorbis_1.3.7-1.dsc
0e982409a9c3fc82ee06e08205b1355e5c6aa4c36bca58146ef399621b0ce5ab  libvorbis_1.3.7.orig.tar.gz
c5c40944a3fc1cdd1ce019ef21f580ce5ed3b9f30e0cba7b3d859e8d9fea631f  libvorbis_1.3.7-1.debian.tar.xz
7b86211030a34deb6b0a2cd7e1d9db0fe92443fd30cab537fb89b1e7f7c9f188  libpng1.6_1.6.39-2+deb12u5.dsc
a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441  libpng1.6_1.6.39.orig.tar.gz
ab14906eda9fddf14cbb1e589b9ba7439c22e233dc3c5e3cf9356c9625565a82  libpng1.6_1.6.39-2+deb12u5.debian.tar.xz
"
LIBS=(libz.a libogg.a libvorbis.a libvorbisfile.a libpng16.a)

stamp=$prefix/.built-from
want_stamp=$(printf '%s\n' "${SOURCES[@]}")
built() {
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want_stamp" ] || return 1
  for lib in "${LIBS[@]}"; do [ -f "$prefix/lib/$lib" ] || return 1; done
}
if built; then
  exit 0
fi

# Debian's emcc runs its JavaScript tools with node; a node not from Debian does
# not look in Debian's module folder for acorn and the other tools it needs.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
# configure runs its test programs under node, whose own fetch() cannot read the
# .wasm beside them from a file path; without it Emscripten's loader reads the file.
export NODE_OPTIONS="${NODE_OPTIONS:+$NODE_OPTIONS }--no-experimental-fetch"
for tool in emcc emconfigure emcmake emmake dpkg-source; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh" >&2; exit 1; }
done

# apt-get source needs a deb-src entry; add one for the mirror apt already uses.
has_sources() {
  apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources
}
if ! has_sources; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "apt has no deb-src entry; run this as root once so it can add one." >&2
    exit 1
  fi
  mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' |
           awk '$2 == "bookworm" { print $1; exit }')
  mirror=${mirror:-http://deb.debian.org/debian/}
  cat > /etc/apt/sources.list.d/quavero-deb-src.sources <<EOF
Types: deb-src
URIs: $mirror
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  apt-get update -qq
fi

src=$dir/src
mkdir -p "$src"
cd "$src"
sums_ok() { echo -n "$SUMS" | sha256sum --check --status 2>/dev/null; }
if ! sums_ok; then
  sandbox=()
  [ "$(id -u)" -eq 0 ] && sandbox=(-o APT::Sandbox::User=root)
  fetch() { apt-get source -q --download-only "${sandbox[@]}" "${SOURCES[@]}" >/dev/null; }
  if ! fetch && ! { [ "$(id -u)" -eq 0 ] && apt-get update -qq && fetch; }; then
    echo "apt-get source could not fetch ${SOURCES[*]}. A point release may have replaced a" >&2
    echo "pinned version in the archive: pin the one 'apt-cache showsrc' lists, with its sums." >&2
    exit 1
  fi
  if ! sums_ok; then
    echo -n "$SUMS" | sha256sum --check 2>&1 | grep -v ': OK$' >&2
    echo "the fetched source files are not the pinned ones" >&2
    exit 1
  fi
fi

jobs=$(nproc)
flags="-O2"
# Unpacks PACKAGE_VERSION.dsc (with Debian's patches) afresh and prints its folder.
unpack() {
  local dsc=$1 out
  out=$src/$(basename "$dsc" .dsc)
  rm -rf "$out"
  dpkg-source --no-check -x "$dsc" "$out" >/dev/null
  echo "$out"
}

rm -rf "$prefix"
mkdir -p "$prefix"

echo "== zlib"
tree=$(unpack zlib_1.2.13.dfsg-1.dsc)
(cd "$tree" && CFLAGS="$flags" emconfigure ./configure --static --prefix="$prefix" >/dev/null &&
   emmake make -j"$jobs" libz.a >/dev/null && emmake make install >/dev/null)

# libogg's and libvorbis's CMake files read type sizes out of a native test
# binary, which an Emscripten build does not make; their configure scripts work.
echo "== libogg"
tree=$(unpack libogg_1.3.5-3.dsc)
(cd "$tree" && CFLAGS="$flags" emconfigure ./configure --prefix="$prefix" --disable-shared >/dev/null &&
   emmake make -j"$jobs" >/dev/null && emmake make install >/dev/null)

echo "== libvorbis"
tree=$(unpack libvorbis_1.3.7-1.dsc)
(cd "$tree" && CFLAGS="$flags" emconfigure ./configure --prefix="$prefix" --disable-shared \
     --with-ogg="$prefix" --disable-oggtest --disable-docs --disable-examples >/dev/null &&
   emmake make -j"$jobs" -C lib >/dev/null && emmake make -C lib install >/dev/null &&
   emmake make -C include install >/dev/null && emmake make install-pkgconfigDATA >/dev/null)

echo "== libpng"
tree=$(unpack libpng1.6_1.6.39-2+deb12u5.dsc)
(cd "$tree" && CFLAGS="$flags" CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" \
     emconfigure ./configure --prefix="$prefix" --disable-shared --disable-hardware-optimizations >/dev/null &&
   emmake make -j"$jobs" libpng16.la >/dev/null &&
   emmake make install-libLTLIBRARIES install-pkgincludeHEADERS install-nodist_pkgincludeHEADERS \
     install-pkgconfigDATA >/dev/null && ln -sf libpng16/png.h libpng16/pngconf.h libpng16/pnglibconf.h "$prefix/include/")

for lib in "${LIBS[@]}"; do
  [ -f "$prefix/lib/$lib" ] || { echo "$lib was not built" >&2; exit 1; }
done
echo "$want_stamp" > "$stamp"
rm -rf "$src"/*/
echo "Web dependencies in $prefix"
