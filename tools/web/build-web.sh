#!/usr/bin/env bash
# make web: tools/web/build-web.sh LINUX_BUILD WEB_BUILD. The libraries for the browser come from
# tools/thirdparty/build-libs.sh (built once, cached outside the clone); the rounds from the
# desktop build's round compiler; the page ends up in WEB_BUILD/dist.
set -euo pipefail
linux=${1:?usage: build-web.sh LINUX_BUILD WEB_BUILD}
web=${2:?}
here=$(cd "$(dirname "$0")/../.." && pwd)
cd "$here"
export NODE_PATH=/usr/share/nodejs # Debian's emscripten runs its tools on Debian's node modules
jobs=${JOBS:-2}

mkdir -p "$web"
prefix=$(tools/thirdparty/build-libs.sh web "$web/thirdparty-work" | tail -n 1)
[ -d "$prefix" ] || { echo "build-web: the libraries for the browser did not build" >&2; exit 1; }
# What the prefix tells its users (the Emscripten cache it was built with, among others).
for env in "$prefix"/*.env "$prefix"/env.sh; do
    # shellcheck disable=SC1090
    [ -f "$env" ] && { set -a; . "$env"; set +a; }
done

cmake --build "$linux" -j"$jobs" --target vexaro-round-files
# Configured every time: the prefix changes with the libraries' versions (a few seconds).
emcmake cmake -S . -B "$web" -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_ROOT_PATH="$prefix" >"$web/configure.log" ||
    { cat "$web/configure.log" >&2; exit 1; }
cmake --build "$web" -j"$jobs" --target vexaro
tools/web/make-dist.sh "$web" "$linux" "$web/dist"
