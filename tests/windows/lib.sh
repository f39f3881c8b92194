# Shared steps of the Windows tests: the end-to-end library of the Linux game (a display of
# their own, openbox, screenshots, clean-up) and on top of it Wine: a private prefix under the
# Linux build folder, made once, the Windows build's zip and installer, and the game started
# through Wine. Sourced by the *_test.sh scripts with the Linux build, the source folder and the
# Windows build folder. Without the Windows build (make windows) a test is skipped.
SCREEN=${SCREEN:-1024x768} # the game's window drawn once: compared pixel for pixel
WIN_BUILD_ARG=${3:?usage: TEST.sh BUILD_DIR SOURCE_DIR WIN_BUILD_DIR}
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh" "$1" "$2"

ZIP=$(ls "$WIN_BUILD_ARG"/Vexaro-*-win64.zip 2>/dev/null | head -1 || true)
SETUP=$(ls "$WIN_BUILD_ARG"/Vexaro-*-setup.exe 2>/dev/null | head -1 || true)
[ -n "$ZIP" ] && [ -n "$SETUP" ] || { echo "skipped: no Windows build in $WIN_BUILD_ARG (make windows)"; exit $SKIP; }
WIN_BUILD=$(cd "$WIN_BUILD_ARG" && pwd)
for tool in wine wineserver winepath unzip; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing (make test-windows)"; exit $SKIP; }
done

# Wine quiet, in a prefix of its own; no Start-menu entries of the host's desktop made for the
# shortcuts the installer makes, no offer to install Mono or Gecko.
export WINEPREFIX="$BUILD/wine-prefix" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
prepare_prefix() {
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.ready" ]; then
            rm -rf "$WINEPREFIX"
            wineboot --init >"$WORK/wineboot.log" 2>&1 || true
            wineserver --wait
            [ -d "$WINEPREFIX/drive_c/windows" ] || { cat "$WORK/wineboot.log"; exit 1; }
            touch "$WINEPREFIX/.ready"
        fi
    ) 9>"$BUILD/wine-prefix.lock" || fail "cannot make the Wine prefix"
}
prepare_prefix

# Everything Wine started in the prefix ends with the test (the display goes with it).
wine_cleanup() {
    wineserver --kill 2>/dev/null || true
    cleanup
}
trap wine_cleanup EXIT

# A folder of the user's profile as Wine sees it, as a path on this machine. Like every Wine
# program after the prefix is made, only once the display is up: the first program brings up
# Wine's desktop, and one started without a display leaves every later window unseen.
win_folder() { winepath -u "$(wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r')"; }

# The game under Wine: GAME is the vexaro.exe to start, GAME_ARGS its arguments.
start_wine_game() {
    wine "$GAME" "${GAME_ARGS[@]}" >>"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    PIDS+=("$GAME_PID")
}

# The zip unpacked into `folder`: sets GAME_DIR and GAME.
unpack_zip() { # folder
    mkdir -p "$1"
    unzip -q "$ZIP" -d "$1"
    GAME_DIR=$(ls -d "$1"/Vexaro-*/)
    GAME_DIR=${GAME_DIR%/}
    GAME="$GAME_DIR/vexaro.exe"
}

# The main window of the game on the screen, its client area at (x, y), w x h, its enlargement
# S: found as find_game_window does, for the game under Wine.
find_wine_window() {
    wait_until 90 main_window >/dev/null || fail "no main window"
    id=$(main_window)
    sleep 2
    xdotool windowactivate --sync "$id" 2>/dev/null || true
    read -r x y w h <<<"$(window_geometry "$id")"
    S=$((w / 621))
}
