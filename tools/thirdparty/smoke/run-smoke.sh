#!/usr/bin/env bash
# Builds the smoke program against a third-party prefix through its CMake config packages and,
# for win64, runs it under Wine and compares its rendered text with the desktop's system
# libraries, pixel for pixel.
#
#   tools/thirdparty/smoke/run-smoke.sh web|win64 WORKDIR
#
# Exits non-zero when a step fails or the text differs from the desktop's.
set -euo pipefail
[ $# -eq 2 ] || {
    echo "usage: $0 web|win64 WORKDIR" >&2
    exit 2
}
target=$1
mkdir -p "$2"
workdir=$(cd "$2" && pwd)/smoke
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../../.." && pwd)
fonts=(/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
    /usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf)

"$repo/tools/install-packages.sh" gcc pkg-config libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev \
    libsdl2-mixer-dev fonts-ipafont-gothic fonts-liberation python3 >&2
prefix=$("$repo/tools/thirdparty/build-libs.sh" "$target" "$2" | tail -n1)
echo "prefix: $prefix"
# shellcheck disable=SC1091
. "$prefix/env.sh"

rm -rf "$workdir"
mkdir -p "$workdir"
cd "$workdir"

# A 16x16 PNG and a tenth of a second of a 440 Hz tone as WAV.
python3 - <<'EOF'
import math, struct, wave, zlib
rows = b"".join(b"\0" + b"".join(bytes((x * 16, y * 16, 128, 255)) for x in range(16))
               for y in range(16))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 16, 16, 8, 6, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
open("image.png", "wb").write(png)
with wave.open("sound.wav", "wb") as out:
    out.setnchannels(2)
    out.setsampwidth(2)
    out.setframerate(44100)
    out.writeframes(b"".join(struct.pack("<hh", v, v) for v in
                             (int(8000 * math.sin(2 * math.pi * 440 * i / 44100)) for i in range(4410))))
EOF

case $target in
web)
    emcmake cmake -S "$here" -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" >build.log 2>&1 ||
        { cat build.log; exit 1; }
    cmake --build build >>build.log 2>&1 || { cat build.log; exit 1; }
    ls -l build/smoke.js build/smoke.wasm
    echo "smoke[web]: linked"
    ;;
win64)
    cmake -S "$here" -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/mingw-w64.cmake" \
        -DCMAKE_PREFIX_PATH="$prefix" >build.log 2>&1 || { cat build.log; exit 1; }
    cmake --build build >>build.log 2>&1 || { cat build.log; exit 1; }
    echo "DLLs the program imports:"
    x86_64-w64-mingw32-objdump -p build/smoke.exe | sed -n 's/^\s*DLL Name: /  /p'

    # The same program against the desktop's system libraries.
    # shellcheck disable=SC2046
    gcc -O2 -o smoke-desktop "$here/smoke.c" $(env -u PKG_CONFIG_LIBDIR pkg-config --cflags --libs sdl2 SDL2_image SDL2_ttf SDL2_mixer)

    export WINEPREFIX=$workdir/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
    status=0
    for i in "${!fonts[@]}"; do
        font=${fonts[$i]}
        ./smoke-desktop "$font" image.png sound.wav "desktop-$i.pgm" >"desktop-$i.log" 2>&1 || {
            cat "desktop-$i.log"
            exit 1
        }
        wine build/smoke.exe "$(winepath -w "$font" 2>/dev/null)" image.png sound.wav "win64-$i.pgm" \
            >"win64-$i.log" 2>&1 </dev/null || true
        tr -d '\r' <"win64-$i.log" | grep '^smoke:' || true
        grep -q '^smoke: ok' "win64-$i.log" || {
            cat "win64-$i.log"
            echo "smoke[win64]: FAILED under Wine"
            exit 1
        }
        if cmp -s "desktop-$i.pgm" "win64-$i.pgm"; then
            echo "smoke[win64]: text in $(basename "$font") identical to the desktop's"
        else
            echo "smoke[win64]: text in $(basename "$font") DIFFERS from the desktop's"
            status=1
        fi
    done
    [ $status -eq 0 ] && echo "smoke[win64]: ok"
    exit $status
    ;;
esac
