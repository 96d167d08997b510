#!/usr/bin/env bash
# Installs what is missing, builds the plain and the sanitizer build, and runs
# the whole suite in both under a virtual X display, runs the engine's tests
# built in WebAssembly under node, then builds the browser version and plays it
# in headless chromium, then installs the Debian package in a clean Debian 12
# root and starts it there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/fetch-corpus.sh build/corpus
bash scripts/fetch-sdl12-compat.sh build/sdl12-compat
bash scripts/build.sh --sanitize

export ASAN_OPTIONS=abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for dir in build build-san; do
  echo "== tests in $dir"
  bash scripts/with-display.sh \
    ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" --timeout 300 || status=1
done

# The game, the mixer and the loader on their own threads under ThreadSanitizer:
# any word they share without the one convention is a reported race.
echo "== thread-sanitizer tests in build-tsan"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --test-dir build-tsan --output-on-failure -j"$(nproc)" --timeout 300 \
  -R "^(SoundDoor|LoadAssets|LoadThread)" || status=1

# The engine built with Emscripten, its tests run under node.
echo "== engine tests under node"
bash scripts/test-web-node.sh || status=1

# The browser build, played in headless chromium.
echo "== browser build and test"
bash scripts/test-web.sh || status=1

# The Debian package, installed and started in a clean Debian 12 root.
echo "== package check"
pkg_status=0
bash scripts/check-package.sh || pkg_status=$?
if [ "$pkg_status" -eq 77 ]; then
  echo "package check skipped: this machine cannot make a Debian root (needs root, mounts and the mirror)"
elif [ "$pkg_status" -ne 0 ]; then
  status=1
fi
exit $status
