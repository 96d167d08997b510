#!/usr/bin/env bash
# Builds the browser version (scripts/build-web.sh) and plays it in Debian's
# headless chromium through puppeteer-core (tests/web/browser_test.js), served
# from 127.0.0.1. SHOTS=dir keeps screenshots of the title, a game and the
# page without WebGL.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-web.sh
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node tests/web/browser_test.js build-web/site docs/screens/title.png ${SHOTS:+"$SHOTS"}
