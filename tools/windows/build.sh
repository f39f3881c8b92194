#!/usr/bin/env bash
# Cross-builds the game for 64-bit Windows into WIN_BUILD: vexaro.exe, the folder the game
# expects, Vexaro-VERSION-win64.zip and Vexaro-VERSION-setup.exe.
#
#   tools/windows/build.sh NATIVE_BUILD WIN_BUILD
#
# NATIVE_BUILD is a configured Linux build folder: its vexaro-rounds compiles the rounds.
# SDL2, SDL2_image, SDL2_ttf, SDL2_mixer, FreeType and HarfBuzz come from
# tools/thirdparty/build-libs.sh (Debian's source packages, cached outside the clone).
set -euo pipefail

native=${1:?usage: build.sh NATIVE_BUILD WIN_BUILD}
win=${2:?usage: build.sh NATIVE_BUILD WIN_BUILD}
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$source_dir"
jobs=${JOBS:-2}

# The cross compiler, the installer maker, the icon's converter; FluidSynth, the sound font and
# Vorbis tools render the tunes; the fonts and the licences come from Debian's packages.
tools/install-packages.sh mingw-w64 nsis imagemagick fluidsynth timgm6mb-soundfont vorbis-tools \
    fonts-ipafont-mincho fonts-ipafont-gothic fonts-liberation ccache

# The rounds, compiled by the Linux build's own tool.
cmake --build "$native" --target vexaro-round-files -j"$jobs"

mkdir -p "$win"
win=$(cd "$win" && pwd)
prefix=$(tools/thirdparty/build-libs.sh win64 "$win/thirdparty-work" | tail -n1)
[ -f "$prefix/.complete" ] || { echo "no third-party libraries for win64" >&2; exit 1; }

# The tunes, played once by FluidSynth and kept as Ogg Vorbis: Windows has no MIDI synthesiser
# the game could count on.
tools/tunes/render-tunes.sh "$win/tunes"

export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchains/mingw-w64.cmake" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXARO_WERROR="${WERROR:-OFF}" \
    -DVEXARO_NATIVE_BUILD="$(cd "$native" && pwd)" -DVEXARO_TUNES="$win/tunes"
cmake --build "$win" -j"$jobs"
cmake --build "$win" --target windows-package
