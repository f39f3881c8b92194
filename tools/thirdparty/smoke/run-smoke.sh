#!/usr/bin/env bash
# Builds the smoke program against a third-party prefix through its CMake config packages, runs
# it (win64: under Wine; web: a Node.js variant of the same code) and compares its rendered text
# with the same program built against the desktop's system libraries, pixel for pixel.
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
    libsdl2-mixer-dev fonts-ipafont-gothic fonts-liberation python3 vorbis-tools >&2
prefix=$("$repo/tools/thirdparty/build-libs.sh" "$target" "$2" | tail -n1)
echo "prefix: $prefix"
# shellcheck disable=SC1091
. "$prefix/env.sh"

rm -rf "$workdir"
mkdir -p "$workdir"
cd "$workdir"

# A 16x16 PNG, and a tenth of a second of a 440 Hz tone as WAV and as Ogg Vorbis.
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
oggenc -Q -o music.ogg sound.wav

# The same program against the desktop's system libraries renders the reference text.
desktop_reference() {
    # shellcheck disable=SC2046
    gcc -O2 -o smoke-desktop "$here/smoke.c" \
        $(env -u PKG_CONFIG_LIBDIR pkg-config --cflags --libs sdl2 SDL2_image SDL2_ttf SDL2_mixer)
    for i in "${!fonts[@]}"; do
        SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
            ./smoke-desktop "${fonts[$i]}" image.png sound.wav music.ogg "desktop-$i.pgm" >"desktop-$i.log" 2>&1 || {
            cat "desktop-$i.log"
            exit 1
        }
    done
}

# check_run NAME LOG FONT_INDEX: the run printed success and rendered the desktop's pixels.
status=0
check_run() {
    local name=$1 logfile=$2 i=$3
    tr -d '\r' <"$logfile" | grep '^smoke:' || true
    grep -q '^smoke: ok' "$logfile" || {
        cat "$logfile"
        echo "smoke[$name]: FAILED"
        exit 1
    }
    if cmp -s "desktop-$i.pgm" "$name-$i.pgm"; then
        echo "smoke[$name]: text in $(basename "${fonts[$i]}") identical to the desktop's"
    else
        echo "smoke[$name]: text in $(basename "${fonts[$i]}") DIFFERS from the desktop's"
        status=1
    fi
}

configure_options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix")
build_smoke() { # BUILD_DIR CONFIGURE_COMMAND...
    local dir=$1
    shift
    { "$@" -S "$here" -B "$dir" "${configure_options[@]}" && cmake --build "$dir"; } \
        >"$dir.log" 2>&1 || {
        cat "$dir.log"
        exit 1
    }
}

# Builds without CMake get the same through pkg-config.
link_with_pkg_config() { # COMPILER OUTPUT [FLAG...]
    local compiler=$1 output=$2
    shift 2
    # shellcheck disable=SC2046
    "$compiler" -o "$output" "$here/smoke.c" "$@" $(PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" \
        pkg-config --static --cflags --libs SDL2_ttf SDL2_image SDL2_mixer sdl2) >pkg-config.log 2>&1 || {
        cat pkg-config.log
        echo "smoke[$target]: FAILED to link through pkg-config"
        exit 1
    }
    echo "smoke[$target]: linked through pkg-config too"
}

desktop_reference
case $target in
web)
    configure_options+=(-DCMAKE_FIND_ROOT_PATH="$prefix")
    build_smoke build emcmake cmake
    ls -l build/smoke.js build/smoke.wasm
    echo "smoke[web]: linked for the browser"
    link_with_pkg_config emcc smoke-pkg-config.js -sASYNCIFY -sENVIRONMENT=web
    # The same code for Node.js, to run it here.
    configure_options+=(-DSMOKE_NODE=ON -DCMAKE_BUILD_TYPE=) # unoptimised: links in seconds
    build_smoke build-node emcmake cmake
    for i in "${!fonts[@]}"; do
        node build-node/smoke.js "${fonts[$i]}" image.png sound.wav music.ogg "web-$i.pgm" >"web-$i.log" 2>&1 </dev/null || true
        check_run web "web-$i.log" "$i"
    done
    ;;
win64)
    build_smoke build cmake -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/mingw-w64.cmake"
    link_with_pkg_config x86_64-w64-mingw32-gcc-posix smoke-pkg-config.exe -static
    echo "DLLs the program imports:"
    x86_64-w64-mingw32-objdump -p build/smoke.exe | sed -n 's/^\s*DLL Name: /  /p'
    export WINEPREFIX=$workdir/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
    for i in "${!fonts[@]}"; do
        wine build/smoke.exe "$(winepath -w "${fonts[$i]}" 2>/dev/null)" image.png sound.wav \
            music.ogg "win64-$i.pgm" >"win64-$i.log" 2>&1 </dev/null || true
        check_run win64 "win64-$i.log" "$i"
    done
    ;;
esac
[ $status -eq 0 ] && echo "smoke[$target]: ok"
exit $status
