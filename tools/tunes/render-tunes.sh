#!/usr/bin/env bash
# Renders every tune of the game (assets/wav/*.mid) to Ogg Vorbis, X.mid to OUTDIR/X.ogg, for the
# targets that have no MIDI synthesiser. The MIDI files stay the source: each is played through
# the desktop's own synthesiser and sound font (FluidSynth with TimGM6mb) at the mixer's rate, at
# the gain SDL_mixer gives FluidSynth for the game's music volume (1.2 * 56 / 128 = 0.525), so
# the tune sounds as it does on the desktop. Needs fluidsynth, timgm6mb-soundfont, vorbis-tools.
set -euo pipefail
out=${1:?usage: render-tunes.sh OUTDIR}
here=$(cd "$(dirname "$0")/../.." && pwd)
font=/usr/share/sounds/sf2/TimGM6mb.sf2
[ -f "$font" ] || { echo "render-tunes: no $font (package timgm6mb-soundfont)" >&2; exit 1; }
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for mid in "$here"/assets/wav/*.mid; do
    name=$(basename "$mid" .mid)
    # Rendered again only when the tune is newer than its recording.
    [ "$out/$name.ogg" -nt "$mid" ] && continue
    fluidsynth -q -n -i -g 0.525 -r 44100 -O s16 -T wav -F "$work/$name.wav" "$font" "$mid" \
        >/dev/null 2>&1
    oggenc -Q -q 2 -o "$out/$name.ogg" "$work/$name.wav"
done
