#!/usr/bin/env bash
# The fonts the game letters with, cut down to the characters it can show, for the targets that
# ship their fonts (platform/fonts/shipped.cpp): OUTDIR/ipamp.ttf, ipagp.ttf and
# LiberationSerif-{Regular,Bold,Italic,BoldItalic}.ttf. The characters: printable ASCII and every
# other character of the game's sources, its help file and its rounds. Hinting is kept, so the
# letters come out pixel for pixel as the whole fonts draw them. Needs python3-fonttools and the
# Debian font packages fonts-ipafont-mincho, fonts-ipafont-gothic, fonts-liberation.
set -euo pipefail
out=${1:?usage: subset-fonts.sh OUTDIR}
here=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$out"
chars="$out/.characters.txt"
{
    printf '%s' ' !"#$%&'"'"'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\]^_`abcdefghijklmnopqrstuvwxyz{|}~'
    cat "$here"/core/*.cpp "$here"/display/*.cpp "$here"/events/*.cpp "$here"/shell/*.cpp \
        "$here"/stage/*.cpp "$here"/sound/*.cpp "$here"/platform/*.cpp "$here"/platform/sdl/*.cpp \
        "$here"/assets/Help.hlp "$here"/rounds/*.txt 2>/dev/null
} | /usr/bin/python3 -c 'import sys; t=sys.stdin.buffer.read().decode("utf-8","ignore"); sys.stdout.write("".join(sorted({c for c in t if c.isprintable() or c == " "})))' >"$chars"

subset() { # FONT OUTNAME
    /usr/bin/python3 -m fontTools.subset "$1" --text-file="$chars" --output-file="$out/$2" --hinting --no-layout-closure \
        --layout-features='*' --name-IDs='*' --notdef-outline --glyph-names --legacy-kern --drop-tables+=FFTM
}
subset /usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf ipamp.ttf
subset /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf ipagp.ttf
for cut in Regular Bold Italic BoldItalic; do
    subset /usr/share/fonts/truetype/liberation/LiberationSerif-$cut.ttf LiberationSerif-$cut.ttf
done
rm -f "$chars"
