# Shared steps of the end-to-end tests: a display of their own (Xvfb, and openbox where a window
# manager is needed), the real game on it, screenshots read back pixel by pixel, and a clean-up
# that ends everything the test started. Sourced by the *_test.sh scripts, the benchmarks of the
# real game (bench/lib.sh) and tools/screenshots/round_starts.sh, with the build and the source
# folder.
set -euo pipefail

BUILD=$(cd "${1:?usage: TEST.sh BUILD_DIR SOURCE_DIR}" && pwd)
SOURCE=$(cd "${2:?usage: TEST.sh BUILD_DIR SOURCE_DIR}" && pwd)
GAME="$BUILD/vexaro"
SKIP=77 # CTest's "skipped"

for tool in Xvfb xdotool xwininfo xprop import convert openbox; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing (make deps-test)"; exit $SKIP; }
done
[ -x "$GAME" ] || { echo "no $GAME" >&2; exit 1; }

WORK=$(mktemp -d)
SHOTS="$BUILD/e2e-shots"
mkdir -p "$SHOTS"
PIDS=() # started here, ended by cleanup in reverse order
GAME_PID=

# Ends everything started so far, the last first, and forgets it.
stop_all() {
    local i alive pid
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do kill "${PIDS[i]}" 2>/dev/null || true; done
    for _ in $(seq 50); do
        alive=0
        for pid in "${PIDS[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
        [ "$alive" = 0 ] && break
        sleep 0.1
    done
    for pid in "${PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    PIDS=()
}

cleanup() {
    stop_all
    # In the sanitizer build, a report from the game fails the test, even one made while the
    # game was being ended; so does a stale pixel found by the picture check (VEXARO_CHECK_PICTURE).
    if [ -f "$WORK/game.log" ] &&
        grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:|stale pixels' "$WORK/game.log"; then
        echo "FAIL: the game's sanitizer or picture check report:" >&2
        cat "$WORK/game.log" >&2
        rm -rf "$WORK"
        exit 1
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT
# A command that fails where no check expected it still says where.
trap 'fail "line $LINENO of $(basename "$0"): a command failed"' ERR

fail() {
    trap - ERR
    echo "FAIL: $*" >&2
    [ -f "$WORK/game.log" ] && { echo "--- game output:" >&2; cat "$WORK/game.log" >&2; }
    exit 1
}

# Waits until a command succeeds, up to `seconds`.
wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.05
    done
}

# A display of our own, 1280 x 1024 unless SCREEN says otherwise: the game's windows are then
# enlarged twice. Sets DISPLAY and XVFB_PID, its server. Without -noreset the server resets
# when its last client goes (the xwininfo below): a game connecting meanwhile is refused, and
# SDL then runs it on a video driver of its own, where no window shows.
SCREEN=${SCREEN:-1280x1024}
start_display() {
    exec 3>"$WORK/display"
    Xvfb -displayfd 3 -screen 0 "${SCREEN}x24" -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    PIDS+=("$XVFB_PID")
    exec 3>&-
    wait_until 30 test -s "$WORK/display" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$(cat "$WORK/display")"
    wait_until 30 xwininfo -root >/dev/null 2>&1 || fail "the display $DISPLAY does not answer"
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

start_window_manager() {
    local attempt
    for attempt in 1 2 3; do # it has been seen to miss the display once on a busy machine
        openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
        PIDS+=($!)
        wait_until 20 wm_running && return 0
        echo "note: openbox attempt $attempt: $(cat "$WORK/openbox.log")"
    done
    fail "openbox did not start"
}

# The game without a sound card, with an instance lock of its own: tests that run side by side
# must not take each other for a second instance.
export SDL_AUDIODRIVER=dummy
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

GAME_ARGS=() # the game's command line, for a test that needs one
start_game() {
    "$GAME" "${GAME_ARGS[@]}" >>"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    PIDS+=("$GAME_PID")
}

# Waits up to `seconds` for the game to end and sets GAME_STATUS; fails when it still runs.
GAME_STATUS=
wait_game() {
    local seconds=$1
    game_gone() { ! kill -0 "$GAME_PID" 2>/dev/null; }
    wait_until "$seconds" game_gone || fail "the game did not end"
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
}

# The main window: its id, and its place and size on the screen.
main_window() { xdotool search --onlyvisible --name '^Vexaro!!$' 2>/dev/null | head -1; }
window_geometry() { # id -> "x y width height" of the client area on the screen
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF} END {print x, y, w, h}'
}

screenshot() { import -window root "$1"; }
# The colour of one pixel of a picture, as RRGGBB.
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1 | tr -d '#'; }

# Fails unless the screenshot shows the title picture tiled over the client area of the main
# window, whose corner is at (x, y) on the screen, enlarged `scale` times: client pixel (cx, cy)
# shows the title picture's pixel (cx mod 256, cy mod 192).
check_title_screen() {
    local shot=$1 wx=$2 wy=$3 scale=$4 point cx cy want got
    for point in "10 10" "128 96" "200 150" "300 40" "420 250" "600 380" "255 191" "256 192"; do
        read -r cx cy <<<"$point"
        want=$(pixel "$SOURCE/assets/pTitle.png" $((cx % 256)) $((cy % 192)))
        got=$(pixel "$shot" $((wx + cx * scale + 1)) $((wy + (20 + cy) * scale + 1)))
        [ "$got" = "$want" ] || fail "client pixel $cx,$cy is $got, the title picture has $want"
    done
}

# Windows of ours without a name (the splash and about window), as "id width height".
unnamed_windows() { xwininfo -root -tree | awk '/has no name/ {print $1, $(NF-1)}'; }

# The game on a display of its own under a window manager, its main window up and active (the
# splash gone): sets what find_game_window sets.
open_game_window() {
    start_display
    start_window_manager
    start_game
    find_game_window
}

# Waits for the main window of the game just started and activates it once the splash is gone:
# sets id, the client area's x, y, w, h on the screen, and S, the enlargement.
find_game_window() {
    wait_until 60 main_window >/dev/null || fail "no main window"
    id=$(main_window)
    sleep 2
    xdotool windowactivate --sync "$id"
    read -r x y w h <<<"$(window_geometry "$id")"
    S=$((w / 621))
}

# The game in a folder of its own, with the round whose text form is on standard input as each of
# the given rounds: sets GAME to it.
# The round of the recording tests: a tall shaft, the ship two cells above the pad, so that a ship
# left alone lands and one that has risen crashes.
shaft_round() {
    cat <<'ROUND'
ROUNDRANGE 12 60 0x102040 0 120
BMPBOX 1 20 10 20 3 0
BMPBOX 1 40 10 40 5 -1
ROCK 0 0 11 0 1
ROCK 0 59 11 59 1
ROCK 0 1 0 58 1
ROCK 11 1 11 58 1
MYSHIP 6 55
GOAL 6 57
ROUND
}

# From the title, a start held on Space through the end of the countdown (the first frame already
# lifts), with Right and Left on the way up; waits up to SECONDS for each step of the countdown.
lift_and_steer() { # seconds
    xdotool key space
    wait_until "$1" counting || fail "no countdown"
    xdotool keydown space
    wait_until "$1" counted || fail "the countdown did not end"
    sleep 0.3
    xdotool keydown Right
    sleep 0.1
    xdotool keyup Right keydown Left
    sleep 0.1
    xdotool keyup Left
    sleep 0.1
    xdotool keyup space
}

game_with_round() { # round numbers
    local round
    cat >"$WORK/round.txt"
    mkdir -p "$WORK/game/rnd_dat"
    cp "$BUILD/vexaro" "$WORK/game/vexaro"
    cp -r "$BUILD/wav" "$WORK/game/wav"
    for round in "$@"; do
        "$BUILD/vexaro-rounds" compile "$WORK/round.txt" "$WORK/game/rnd_dat/R$round.dat.rnd" >/dev/null
    done
    GAME="$WORK/game/vexaro"
}

# Ends the display's server under the running game.
lose_display() { kill -TERM "$XVFB_PID"; }

# --- The main window's picture on the screen ------------------------------------------------
MENU_BAR=20 # its height in picture pixels
# Where the picture (menu bar included) lies on the screen, as "x y scale": the client area
# open_game_window found, unless a test sets it (full screen).
PICTURE=
picture_at() { # picture x, y -> the middle of that picture pixel on the screen
    local px py ps
    read -r px py ps <<<"${PICTURE:-$x $y $S}"
    echo $((px + $1 * ps + ps / 2)) $((py + $2 * ps + ps / 2))
}
picture_pixel() { pixel "$1" $(picture_at "$2" "$3"); } # screenshot, picture x, y -> colour
# The colour at a point of the picture now; the screenshot stays in $WORK/screen.png.
screen_pixel() { screenshot "$WORK/screen.png" && picture_pixel "$WORK/screen.png" "$1" "$2"; }

# Whether a screenshot shows pixel (ax, ay) of a picture of assets/ drawn with its corner at
# (left, top) of the window's picture.
shows_asset() { # screenshot, asset, ax, ay, left, top
    [ "$(picture_pixel "$1" $(($5 + $3)) $(($6 + $4)))" = "$(pixel "$SOURCE/assets/$2" "$3" "$4")" ]
}
# A countdown digit, drawn with its corner at (214, 64) of the viewport.
countdown_at() { shows_asset "$1" pCount0.png 5 5 214 $((MENU_BAR + 64)); }
counting() { screenshot "$WORK/screen.png" && countdown_at "$WORK/screen.png"; }
counted() { screenshot "$WORK/screen.png" && ! countdown_at "$WORK/screen.png"; }
# A message banner (the asset pMsgN.png), drawn over the viewport's centre, its corner at
# (102, 134).
banner_at() { shows_asset "$1" "$2" 40 64 102 $((MENU_BAR + 134)); }
showing() { screenshot "$WORK/screen.png" && banner_at "$WORK/screen.png" "$1"; }
# The pause banner, which blinks a second on and a second off.
paused() { showing pMsg3.png; }
blinked_off() { screenshot "$WORK/screen.png" && ! banner_at "$WORK/screen.png" pMsg3.png; }
# A game on the main window: the side panel, black where the title picture was.
panel_shown() { [ "$(screen_pixel 610 120)" = 000000 ]; }

# Presses Enter until a paused game has resumed: the pause banner, which blinks a second on and a
# second off while paused, stays off for two seconds (`banner_up`, a command, stays false). A
# press that lands just as one blink's wait ends is taken by the next wait's release check, as
# designed, so the player (and a test) may have to press again.
resume_with_enter() {
    local _ try
    for try in 1 2 3; do
        xdotool key Return
        sleep 1.5
        for _ in 1 2 3 4 5 6; do
            "$@" && continue 2
            sleep 0.3
        done
        return 0
    done
    return 1
}
