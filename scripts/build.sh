#!/usr/bin/env bash
# Configures and builds the game (build/) and, with --sanitize, the clang
# ASan+UBSan build with the fuzz targets (build-san/) and the ThreadSanitizer
# build of the tests whose threads share words (build-tsan/).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

if [ "${1:-}" = "--sanitize" ]; then
  cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DQUAVERO_SANITIZE=ON -DQUAVERO_FUZZ=ON -DQUAVERO_CORPUS_DIR="$PWD/build/corpus" >/dev/null
  cmake --build build-san -j"$jobs"

  cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DQUAVERO_SANITIZE_THREAD=ON -DQUAVERO_CORPUS_DIR="$PWD/build/corpus" >/dev/null
  cmake --build build-tsan -j"$jobs" --target game_sound_door_test datamanager_load_assets_test
fi
