#!/usr/bin/env bash
# Puts the page together: tools/web/make-dist.sh WEB_BUILD LINUX_BUILD DIST.
# DIST gets index.html, vexaro-page.js, vexaro.js, vexaro.wasm, the icon, manifest.json (every
# file the game needs, with its size, so that the page can tell a missing or cut file before the
# game starts) and data/: the sounds, the tunes (the MIDI files and their renderings), the help
# file, the rounds (compiled by the desktop build's vexaro-rounds) and the fonts, cut down.
set -euo pipefail
web=$(cd "${1:?usage: make-dist.sh WEB_BUILD LINUX_BUILD DIST}" && pwd)
linux=$(cd "${2:?}" && pwd)
dist=${3:?}
here=$(cd "$(dirname "$0")/../.." && pwd)

for file in "$web/vexaro.js" "$web/vexaro.wasm" "$linux/rnd_dat/R1.dat.rnd"; do
    [ -f "$file" ] || { echo "make-dist: no $file" >&2; exit 1; }
done
"$here/tools/tunes/render-tunes.sh" "$web/tunes"
# The fonts are cut again only when a source of their characters changed.
if [ ! -f "$web/fonts/ipagp.ttf" ] ||
    [ -n "$(find "$here/core" "$here/display" "$here/events" "$here/shell" "$here/stage" \
        "$here/sound" "$here/platform" "$here/assets/Help.hlp" "$here/rounds" \
        "$here/tools/fonts/subset-fonts.sh" -newer "$web/fonts/ipagp.ttf" -print -quit)" ]; then
    "$here/tools/fonts/subset-fonts.sh" "$web/fonts"
fi

rm -rf "$dist"
mkdir -p "$dist/data/wav" "$dist/data/rnd_dat" "$dist/data/fonts"
cp "$here/platform/web/page/index.html" "$here/platform/web/page/vexaro-page.js" "$dist/"
cp "$here/assets/icons/vexaro-32.png" "$dist/icon.png"
cp "$web/vexaro.js" "$web/vexaro.wasm" "$dist/"
cp "$here"/assets/wav/* "$web"/tunes/*.ogg "$dist/data/wav/"
cp "$linux"/rnd_dat/*.rnd "$dist/data/rnd_dat/"
cp "$here/assets/Help.hlp" "$dist/data/"
cp "$web"/fonts/*.ttf "$dist/data/fonts/"

size() { stat -c %s "$1"; }
{
    printf '{\n  "script": {"path": "vexaro.js", "size": %s},\n' "$(size "$dist/vexaro.js")"
    printf '  "wasm": {"path": "vexaro.wasm", "size": %s},\n  "data": [\n' \
        "$(size "$dist/vexaro.wasm")"
    (cd "$dist/data" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) |
        while read -r path; do
            printf '    {"path": "%s", "size": %s},\n' "$path" "$(size "$dist/data/$path")"
        done | sed '$ s/,$//'
    printf '  ]\n}\n'
} >"$dist/manifest.json"
echo "make-dist: $dist ($(du -sh "$dist" | cut -f1))"
