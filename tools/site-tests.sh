#!/usr/bin/env bash
# Tests the answer page: its decoding and judging under node, then the page in
# Debian's chromium, opened from disk. Installs nothing; it needs nodejs, npm and
# chromium, and the npm packages pinned in tests/site/package-lock.json:
#   (cd tests/site && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts)
# Usage: tools/site-tests.sh [BUILD_DIR]   (default build/check; the game's
# sample codes come from BUILD_DIR's mindlark-sitedata, built here if missing)
# Set MINDLARK_SCREENSHOTS=docs/screenshots to refresh the README's pictures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/check}

for tool in node chromium; do
  command -v "$tool" >/dev/null || { echo "site-tests: $tool is not installed" >&2; exit 1; }
done
if [ ! -d "$root/tests/site/node_modules/puppeteer-core" ]; then
  echo "site-tests: run (cd tests/site && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts) first" >&2
  exit 1
fi
[ -f "$build/CMakeCache.txt" ] || { echo "site-tests: $build is not a configured build tree" >&2; exit 1; }
cmake --build "$build" --target mindlark-sitedata

export MINDLARK_SITEDATA=$build/site/mindlark-sitedata
export CHROMIUM=${CHROMIUM:-$(command -v chromium)}
cd "$root/tests/site"
node --test logic.test.js browser.test.js
