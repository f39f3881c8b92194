#!/usr/bin/env bash
# Runs one browser test (run-test.sh TEST.mjs DIST BUILD), or installs the test's packages
# (run-test.sh install DIST) with npm ci from package-lock.json. Skips (77) without a built page.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
what=$1 dist=$2
if [ ! -f "$dist/index.html" ]; then
    echo "SKIP: no page built in $dist (make web)"
    exit 77
fi
if [ "$what" = install ]; then
    cd "$here"
    # Installed from this very lock already: nothing to fetch.
    sum=$(sha256sum package-lock.json | cut -d' ' -f1)
    [ "$(cat node_modules/.vexaro-lock 2>/dev/null)" = "$sum" ] && exit 0
    npm ci --no-audit --no-fund --loglevel=error
    echo "$sum" >node_modules/.vexaro-lock
    exit 0
fi
export PUPPETEER_SKIP_DOWNLOAD=1
exec node "$here/$what" "$dist" "${3:?}"
