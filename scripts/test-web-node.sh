#!/usr/bin/env bash
# Builds the engine (module player, PNG decoder, XML reader) and its tests with
# Emscripten into build-web/node-tests and runs them under node through CTest:
# the corpus renders, the PngSuite comparison and the mixer must agree with the
# desktop build bit for bit.
#
#   bash scripts/test-web-node.sh [CTEST ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-web/node-tests
deps=build-web/deps

# Debian's emcc runs its tools with node; a node not from Debian needs to be
# shown Debian's module folder. Node's own fetch() cannot read a file path, so
# without it Emscripten's loader reads the .wasm from the disk.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
node=$(command -v node || command -v nodejs)

bash scripts/build-web-deps.sh "$deps"
[ -d build/corpus/modules ] || bash scripts/fetch-corpus.sh build/corpus

emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUAVERO_ENGINE_ONLY=ON \
  -DCMAKE_FIND_ROOT_PATH="$PWD/$deps/prefix" -DQUAVERO_CORPUS_DIR="$PWD/build/corpus" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$node;--no-experimental-fetch" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600 "$@"
