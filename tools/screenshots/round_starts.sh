#!/usr/bin/env bash
# The start of each round in the real window, for docs/screenshots/round-N.png:
#
#   tools/screenshots/round_starts.sh BUILD_DIR SOURCE_DIR OUT_DIR [ROUND...]
#
# The game runs on a display of its own (Xvfb) from a folder where rounds 1 to N-1 are a
# single step down onto the pad, so that it reaches round N by itself, with its own round
# label. Enter during round N's countdown pauses the game before its first frame; the picture is
# taken while the blinking pause banner is off.
BUILD_ARG=$1 SOURCE_ARG=$2 OUT=${3:?usage: round_starts.sh BUILD_DIR SOURCE_DIR OUT_DIR [ROUND...]}
shift 3
source "$(dirname "$0")/../../tests/e2e/lib.sh" "$BUILD_ARG" "$SOURCE_ARG"
mkdir -p "$OUT"
ROUNDS=("$@")
[ ${#ROUNDS[@]} -gt 0 ] || ROUNDS=(1 2 3 4 5 6 7 8 9)

# A round cleared at once: the ship stands right above the pad.
cat >"$WORK/step.txt" <<'ROUND'
ROUNDRANGE 6 5 0x000000 0 60
ROCK 0 4 5 4 1
MYSHIP 2 2
GOAL 2 3
ROUND
"$BUILD/vexaro-rounds" compile "$WORK/step.txt" "$WORK/step.dat.rnd" >/dev/null

start_display
start_window_manager

for n in "${ROUNDS[@]}"; do
    folder="$WORK/game-$n"
    mkdir -p "$folder/rnd_dat"
    cp "$BUILD/vexaro" "$folder/vexaro"
    ln -s "$BUILD/wav" "$folder/wav"
    for ((k = 1; k < n; k++)); do cp "$WORK/step.dat.rnd" "$folder/rnd_dat/R$k.dat.rnd"; done
    cp "$BUILD/rnd_dat/R$n.dat.rnd" "$folder/rnd_dat/R$n.dat.rnd"
    GAME="$folder/vexaro"
    start_game
    find_game_window
    xdotool key space
    # Each step round counts down and is cleared; Space cuts its banner short.
    for ((k = 1; k < n; k++)); do
        wait_until 30 counting || fail "round $k: no countdown"
        wait_until 30 counted || fail "round $k: the countdown did not end"
        sleep 0.5
        xdotool key space
    done
    wait_until 30 counting || fail "round $n: no countdown"
    xdotool key Return
    wait_until 30 paused || fail "round $n: no pause banner"
    wait_until 30 blinked_off || fail "round $n: the pause banner did not blink"
    convert "$WORK/screen.png" -crop "${w}x${h}+${x}+${y}" +repage -scale "$((100 / S))%" \
        "$OUT/round-$n.png"
    echo "round $n: $OUT/round-$n.png"
    kill "$GAME_PID"
    wait "$GAME_PID" 2>/dev/null || true
    no_window() { ! main_window >/dev/null; }
    wait_until 30 no_window || fail "round $n: the window stayed"
done
