#!/usr/bin/env bash
# Runs the answer page's tests, CTest's label "site": its decoding and judging
# under node, then the page in Debian's chromium, opened from disk.
# Usage: tools/site-tests.sh [BUILD_DIR]   (default build/check, configured with
# the tests, as ./check leaves it)
# MINDLARK_SCREENSHOTS=docs/screenshots tools/site-tests.sh refreshes the
# README's pictures of the page.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/check}
[ -f "$build/CMakeCache.txt" ] || { echo "site-tests: $build is not a configured build tree; run ./check first" >&2; exit 1; }
if [ -n "${MINDLARK_SCREENSHOTS:-}" ]; then
  # The test runs in tests/site: hand it the directory as seen from here.
  MINDLARK_SCREENSHOTS=$(mkdir -p "$MINDLARK_SCREENSHOTS" && cd "$MINDLARK_SCREENSHOTS" && pwd)
  export MINDLARK_SCREENSHOTS
fi
cmake --build "$build" --target mindlark-sitedata
cd "$build"
ctest --output-on-failure -L site
