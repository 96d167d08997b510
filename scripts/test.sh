#!/usr/bin/env bash
# Installs what is missing, builds the plain and the sanitizer build, and runs
# the whole suite in both under a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/fetch-corpus.sh build/corpus
bash scripts/build.sh --sanitize

export ASAN_OPTIONS=abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for dir in build build-san; do
  echo "== tests in $dir"
  bash scripts/with-display.sh \
    ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" --timeout 300 || status=1
done
exit $status
