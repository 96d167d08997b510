#!/usr/bin/env bash
# Builds the game for the browser with Debian's Emscripten into build-web/site/:
# index.html with its script, stylesheet, icon, quavero.js and quavero.wasm (the
# data package inside). Serve that folder from any static web host, or locally:
#   (cd build-web/site && python3 -m http.server)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

# Debian's emcc runs its JavaScript tools with node; a node not from Debian does
# not look in Debian's module folder for them. The data packer runs under node at
# build time, and node's own fetch() cannot read a .wasm from a file path.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
export NODE_OPTIONS="${NODE_OPTIONS:+$NODE_OPTIONS }--no-experimental-fetch"

bash scripts/build-web-deps.sh build-web/deps
emcmake cmake -S . -B build-web/game -DCMAKE_BUILD_TYPE=Release -DQUAVERO_TESTS=OFF \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" \
  -DQUAVERO_WEB_DEPS_PREFIX="$PWD/build-web/deps/prefix" -DQUAVERO_WEB_SITE_DIR="$PWD/build-web/site" >/dev/null
cmake --build build-web/game -j"$jobs" --target site
