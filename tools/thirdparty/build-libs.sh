#!/usr/bin/env bash
# Builds FreeType, HarfBuzz, SDL2, SDL2_image, SDL2_ttf and SDL2_mixer as static libraries for the
# browser (TARGET web, Emscripten) or 64-bit Windows (TARGET win64, MinGW-w64), from the Debian
# source packages of exactly the versions that the desktop build links, and prints the install
# prefix as the last line of stdout. Everything else goes to stderr; build logs stay in WORKDIR.
#
#   tools/thirdparty/build-libs.sh TARGET WORKDIR
#
# The prefix is cached under ${VEXARO_THIRDPARTY_CACHE:-$HOME/.cache/vexaro-thirdparty}, named by
# the target and a key over the versions, this folder's build files and the compiler's version, so
# a second run only prints it. See tools/thirdparty/README.md for what the prefix holds.
set -euo pipefail

usage() {
    echo "usage: $0 web|win64 WORKDIR" >&2
    exit 2
}
[ $# -eq 2 ] || usage
target=$1
case $target in web | win64) ;; *) usage ;; esac
mkdir -p "$2"
workdir=$(cd "$2" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
jobs=${VEXARO_THIRDPARTY_JOBS:-2}

log() { echo "build-libs[$target]: $*" >&2; }
die() {
    log "error: $*"
    exit 1
}

# The desktop's development packages name the versions to build (and must be there to ask).
dev_packages=(libfreetype-dev libharfbuzz-dev libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev
    libsdl2-mixer-dev)
tool_packages=(cmake ninja-build pkg-config dpkg-dev util-linux)
case $target in
web) tool_packages+=(emscripten nodejs) ;;
win64) tool_packages+=(mingw-w64 wine) ;;
esac
"$repo/tools/install-packages.sh" "${dev_packages[@]}" "${tool_packages[@]}" >&2

# "source=version" of each library, in build order.
sources=()
for pkg in "${dev_packages[@]}"; do
    sources+=("$(dpkg-query -W -f='${source:Package}=${source:Version}' "$pkg")")
done

case $target in
web)
    export NODE_PATH=/usr/share/nodejs
    compiler_id=$(emcc --version | head -n1)
    ;;
win64)
    compiler_id=$(x86_64-w64-mingw32-gcc-posix --version | head -n1)
    ;;
esac

key=$({
    printf '%s\n' "$target" "${sources[@]}" "$compiler_id"
    cat "$here/build-libs.sh" "$here/sdl2-emscripten.cmake" "$repo/cmake/toolchains/mingw-w64.cmake"
} | sha256sum | cut -c1-16)
cache_root=${VEXARO_THIRDPARTY_CACHE:-$HOME/.cache/vexaro-thirdparty}
prefix=$cache_root/$target-$key
mkdir -p "$cache_root"

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# One build per target at a time; a second caller waits and then finds the cache.
exec 9>"$cache_root/$target.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

started=$(date +%s)
stage=$cache_root/.$target-$key.partial.$$
rm -rf "$stage"
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage" "$workdir/logs"

# --- Sources: Debian's source packages, fetched with a private apt state under WORKDIR ---------

apt_dir=$workdir/apt
apt_get() {
    apt-get -q -o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null \
        -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache" \
        -o Dir::State::Status="$apt_dir/status" -o APT::Sandbox::User=root "$@"
}

fetch_sources() {
    local missing=() entry name version
    for entry in "${sources[@]}"; do
        name=${entry%%=*}
        version=${entry#*=}
        [ "$(cat "$workdir/src/$name/.debian-version" 2>/dev/null)" = "$version" ] ||
            missing+=("$entry")
    done
    [ ${#missing[@]} -eq 0 ] && return
    log "fetching ${missing[*]}"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$workdir/download"
    : >"$apt_dir/status"
    cat >"$apt_dir/sources.list" <<EOF
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
deb-src http://deb.debian.org/debian-security bookworm-security main
EOF
    apt_get update >"$workdir/logs/apt-update.log" 2>&1 || die "apt-get update failed, see $workdir/logs/apt-update.log"
    for entry in "${missing[@]}"; do
        name=${entry%%=*}
        version=${entry#*=}
        (cd "$workdir/download" && apt_get source --download-only "$entry") \
            >"$workdir/logs/fetch-$name.log" 2>&1 || die "cannot fetch $entry, see $workdir/logs/fetch-$name.log"
        rm -rf "$workdir/src/$name"
        mkdir -p "$workdir/src"
        # apt-get has checked the files against the signed Release file already.
        dpkg-source --no-check -x "$workdir/download/${name}_${version#*:}.dsc" "$workdir/src/$name" \
            >>"$workdir/logs/fetch-$name.log" 2>&1 || die "cannot unpack $entry"
        echo "$version" >"$workdir/src/$name/.debian-version"
    done
}

# --- Building -------------------------------------------------------------------------------------

cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$stage"
    -DCMAKE_PREFIX_PATH="$stage" -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_LIBDIR=lib)
case $target in
web)
    configure=(emcmake cmake)
    cmake_args+=(-DCMAKE_FIND_ROOT_PATH="$stage")
    ;;
win64)
    configure=(cmake)
    cmake_args+=(-DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/mingw-w64.cmake")
    ;;
esac

# build_library NAME SOURCE_SUBDIR [CMAKE_OPTION...]
build_library() {
    local name=$1 source=$workdir/src/$2 build=$workdir/build/$target/$1
    shift 2
    local logfile=$workdir/logs/$target-$name.log
    log "building $name"
    rm -rf "$build"
    {
        "${configure[@]}" -S "$source" -B "$build" "${cmake_args[@]}" "$@" &&
            cmake --build "$build" -j"$jobs" &&
            cmake --install "$build"
    } >"$logfile" 2>&1 || {
        tail -n 40 "$logfile" >&2
        die "building $name failed, see $logfile"
    }
}

build_all() {
    build_library freetype freetype \
        -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
        -DFT_DISABLE_BROTLI=ON
    # No pthreads for HarfBuzz: its locks are Windows' critical sections on win64, and none at all
    # in the single-threaded browser build; so its config package needs no Threads::Threads.
    local harfbuzz_options=(-DCMAKE_DISABLE_FIND_PACKAGE_Threads=ON)
    [ "$target" = web ] && harfbuzz_options+=(-DCMAKE_CXX_FLAGS=-DHB_NO_MT)
    build_library harfbuzz harfbuzz "${harfbuzz_options[@]}" \
        -DHB_HAVE_FREETYPE=ON -DHB_BUILD_SUBSET=OFF -DHB_BUILD_UTILS=OFF -DHB_HAVE_GLIB=OFF \
        -DHB_HAVE_ICU=OFF -DHB_HAVE_GOBJECT=OFF -DHB_HAVE_INTROSPECTION=OFF -DHB_BUILD_TESTS=OFF
    local sdl_options=(-DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_UNINSTALL=ON
        -DSDL_CCACHE=OFF)
    case $target in
    web) sdl_options+=(-DSDL_THREADS=OFF -DSDL_PTHREADS=OFF -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF) ;;
    win64) sdl_options+=(-DSDL_VULKAN=OFF) ;;
    esac
    build_library sdl2 libsdl2 "${sdl_options[@]}"
    local satellite=(-DSDL2IMAGE_SAMPLES=OFF -DSDL2TTF_SAMPLES=OFF -DSDL2MIXER_SAMPLES=OFF)
    build_library sdl2-image libsdl2-image "${satellite[@]}" -DSDL2IMAGE_VENDORED=OFF \
        -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_PNG=ON \
        -DSDL2IMAGE_PNG_SAVE=OFF -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_BMP=OFF -DSDL2IMAGE_GIF=OFF \
        -DSDL2IMAGE_JPG=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF \
        -DSDL2IMAGE_PNM=OFF -DSDL2IMAGE_QOI=OFF -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=OFF \
        -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF \
        -DSDL2IMAGE_XV=OFF -DSDL2IMAGE_BACKEND_WIC=OFF
    build_library sdl2-ttf libsdl2-ttf "${satellite[@]}" -DSDL2TTF_VENDORED=OFF \
        -DSDL2TTF_HARFBUZZ=ON
    build_library sdl2-mixer libsdl2-mixer "${satellite[@]}" -DSDL2MIXER_VENDORED=OFF \
        -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
        -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=STB \
        -DSDL2MIXER_WAVE=ON
}

# --- The prefix's interface -----------------------------------------------------------------------

write_env_file() {
    {
        echo "# Sourced by builds that use this prefix: sh-compatible, no output."
        echo "VEXARO_THIRDPARTY_PREFIX='$prefix'"
        echo "PKG_CONFIG_LIBDIR='$prefix/lib/pkgconfig'"
        echo "export VEXARO_THIRDPARTY_PREFIX PKG_CONFIG_LIBDIR"
        case $target in
        web)
            echo "# Debian's Emscripten ships its system libraries prebuilt (a frozen cache)."
            echo "NODE_PATH=/usr/share/nodejs"
            echo "export NODE_PATH"
            ;;
        win64)
            echo "VEXARO_WIN64_TOOLCHAIN='$repo/cmake/toolchains/mingw-w64.cmake'"
            echo "export VEXARO_WIN64_TOOLCHAIN"
            ;;
        esac
    } >"$stage/env.sh"
}

# SDL2_image's config package asks for libpng when PNG is on, even when stb_image reads PNG.
# In the browser, programs linking SDL2 must ask Emscripten for two JavaScript runtime functions
# that SDL's audio code calls (see sdl2-emscripten.cmake); the config package and sdl2.pc do so.
fix_config_packages() {
    sed -i 's/if(SDL2IMAGE_PNG AND NOT SDL2IMAGE_VENDORED/if(SDL2IMAGE_PNG AND NOT SDL2IMAGE_BACKEND_STB AND NOT SDL2IMAGE_VENDORED/' \
        "$stage/lib/cmake/SDL2_image/SDL2_imageConfig.cmake"
    if [ "$target" = web ]; then
        local functions=lib/cmake/SDL2/emscripten-library-functions.json
        echo '["$autoResumeAudioContext", "$dynCall"]' >"$stage/$functions"
        cat "$here/sdl2-emscripten.cmake" >>"$stage/lib/cmake/SDL2/SDL2Config.cmake"
        sed -i "s|^Libs: .*|& -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@\${prefix}/$functions|" \
            "$stage/lib/pkgconfig/sdl2.pc"
    fi
}

# SDL2_image, SDL2_ttf and SDL2_mixer install pkg-config files only when built as shared
# libraries; these say the same for the static ones.
write_satellite_pc_files() {
    local name version requires
    for name in SDL2_image SDL2_ttf SDL2_mixer; do
        version=$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' \
            "$stage/lib/cmake/$name/${name}ConfigVersion.cmake")
        requires=""
        [ "$name" = SDL2_ttf ] && requires="freetype2 harfbuzz"
        cat >"$stage/lib/pkgconfig/$name.pc" <<EOF
prefix=$stage
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: $name
Description: $name, static, built by tools/thirdparty/build-libs.sh
Version: $version
Requires: sdl2
Requires.private: $requires
Libs: -L\${libdir} -l$name
Cflags: -I\${includedir}/SDL2
EOF
    done
}

# The files were installed for the staging folder; the prefix is their final place.
relocate_stage() {
    grep -rlIF "$stage" "$stage" | while read -r file; do
        sed -i "s|$stage|$prefix|g" "$file"
    done
}

fetch_sources
build_all
fix_config_packages
write_satellite_pc_files
write_env_file
relocate_stage
{
    printf '%s\n' "target=$target" "compiler=$compiler_id" "${sources[@]}"
    echo "built=$(date -u +%FT%TZ) seconds=$(($(date +%s) - started))"
} >"$stage/BUILDINFO"
touch "$stage/.complete"
mv -T "$stage" "$prefix"
trap - EXIT
log "built in $(($(date +%s) - started)) s"
echo "$prefix"
