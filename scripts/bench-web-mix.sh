#!/usr/bin/env bash
# The mix cost of the game's heaviest block in WebAssembly under node against
# the desktop build: the same timing loop (bench/xm/xm_game_block_time.cpp)
# built natively (build-web/native-bench, Release) and with Emscripten
# (build-web/node-tests), run one after the other.
#
#   bash scripts/bench-web-mix.sh [--blocks N] [--runs N]
set -euo pipefail
cd "$(dirname "$0")/.."
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
node=$(command -v node || command -v nodejs)
deps=build-web/deps
[ -d build/corpus/modules ] || bash scripts/fetch-corpus.sh build/corpus

cmake -S . -B build-web/native-bench -DCMAKE_BUILD_TYPE=Release -DQUAVERO_ENGINE_ONLY=ON \
  -DQUAVERO_TESTS=OFF -DQUAVERO_BENCH=ON -DQUAVERO_CORPUS_DIR="$PWD/build/corpus" >/dev/null
cmake --build build-web/native-bench -j"$(nproc)" --target bench_xm_game_block >/dev/null

bash scripts/build-web-deps.sh "$deps"
emcmake cmake -S . -B build-web/node-tests -DCMAKE_BUILD_TYPE=Release -DQUAVERO_ENGINE_ONLY=ON \
  -DQUAVERO_BENCH=ON -DCMAKE_FIND_ROOT_PATH="$PWD/$deps/prefix" -DQUAVERO_CORPUS_DIR="$PWD/build/corpus" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$node;--no-experimental-fetch" >/dev/null
cmake --build build-web/node-tests -j"$(nproc)" --target bench_xm_game_block >/dev/null

native=$(build-web/native-bench/bench/xm/bench_xm_game_block "$@")
# A browser soon runs a hot loop in its optimising compiler; node's tier-up
# happens on a background thread, which a loaded machine can starve for the
# whole benchmark, so the optimising tier compiles everything from the start.
wasm=$("$node" --no-experimental-fetch --no-liftoff build-web/node-tests/bench/xm/bench_xm_game_block.js "$@")
echo "desktop:           $native"
echo "WebAssembly, node: $wasm"
micros() { sed -E 's/^game block: ([0-9.]+) us.*/\1/' <<<"$1"; }
awk -v n="$(micros "$native")" -v w="$(micros "$wasm")" 'BEGIN { printf "WebAssembly / desktop: %.2f x\n", w / n }'
