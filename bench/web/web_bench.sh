#!/usr/bin/env bash
# The page's figures (a benchmark, not a test: it prints them): what the browser downloads, raw
# and compressed with gzip; the time from opening the page to the title picture; and the share
# of one core that Chromium (all its processes) takes while the ship flies, beside the desktop's
# bench/flight figure. The flight is bench/flight's: the ship held against the top of a tall
# open round with Space.
#
#   bench/web/web_bench.sh BUILD_DIR DIST [SECONDS]     (after make web and make test-web)
set -euo pipefail
build=$(cd "${1:?usage: web_bench.sh BUILD_DIR DIST [SECONDS]}" && pwd)
dist=$(cd "${2:?}" && pwd)
seconds=${3:-10}
here=$(cd "$(dirname "$0")" && pwd)

echo "web: what the browser downloads (everything in $dist)"
total=0 packed=0
while read -r file; do
    raw=$(stat -c %s "$file")
    gz=$(gzip -9 -c "$file" | wc -c)
    total=$((total + raw)) packed=$((packed + gz))
    case $file in */data/*) ;; *) printf '  %-16s %9d bytes  %9d gzip\n' "${file#"$dist"/}" "$raw" "$gz" ;; esac
done < <(find "$dist" -type f | sort)
printf '  %-16s %9d bytes  %9d gzip  (%s MB, %s MB gzip)\n' "all" "$total" "$packed" \
    "$(awk "BEGIN { printf \"%.2f\", $total / 1048576 }")" \
    "$(awk "BEGIN { printf \"%.2f\", $packed / 1048576 }")"

# The page with bench/flight's round 1, its size in the manifest.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$dist" "$work/dist"
printf 'ROUNDRANGE 20 200 0x000000 -1 999\nMYSHIP 10 100\nGOAL 2 199\n' >"$work/round.txt"
"$build/vexaro-rounds" compile "$work/round.txt" "$work/dist/data/rnd_dat/R1.dat.rnd" >/dev/null
python3 - "$work/dist" <<'PY'
import json, os, sys
dist = sys.argv[1]
manifest = json.load(open(os.path.join(dist, "manifest.json")))
for entry in manifest["data"]:
    entry["size"] = os.path.getsize(os.path.join(dist, "data", entry["path"]))
json.dump(manifest, open(os.path.join(dist, "manifest.json"), "w"), indent=1)
PY
"$here/../../tests/web/run-test.sh" install "$dist" >/dev/null
node "$here/measure.mjs" "$work/dist" "$seconds"
