#!/usr/bin/env bash
# A recording played in the real window: the game plays in it as recorded, the desktop's keys
# change nothing (its trace is the headless one's), Escape stops the playback and leaves the
# window as it was until it is closed, a cut recording says so where it ends, and a file that is
# no recording gets a message box.
source "$(dirname "$0")/lib.sh"

SIM="$BUILD/vexaro-sim"
[ -x "$SIM" ] || { echo "no $SIM" >&2; exit 1; }

# A short game made headlessly: start, a lift, a push to the right, and the window closed. It
# starts a few seconds in, so that its countdown is still on when the window has been found on a
# busy machine.
cat >"$WORK/script.txt" <<'SCRIPT'
3100 tap space
6700 down space
7100 up space
7200 down right
7400 up right
10000 close
SCRIPT
"$SIM" --script "$WORK/script.txt" --record "$WORK/game.rec" --trace "$WORK/sim.trace" ||
    fail "vexaro-sim could not record the game"
# Everything but the music, which the headless desktop traces and the real one does not.
without_music() { grep -v '"ev":"music"' "$1"; }

# 1. The whole recording in the window, with the player's keys pressed all along.
GAME_ARGS=(--replay "$WORK/game.rec" --trace "$WORK/window.trace")
open_game_window
wait_until 20 counting || fail "the recorded game does not play in the window"
convert "$WORK/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/replay.png"
for key in Return Left space Right Return; do
    xdotool key "$key"
    sleep 0.3
done
xdotool keydown Left
sleep 1
xdotool keyup Left
wait_game 30 # the recorded close ends it
[ "$GAME_STATUS" = 0 ] || fail "the playback ended with status $GAME_STATUS"
cmp -s <(without_music "$WORK/sim.trace") <(without_music "$WORK/window.trace") || {
    diff <(without_music "$WORK/sim.trace") <(without_music "$WORK/window.trace") | head >&2
    fail "the window's playback differs from the recording"
}

# 2. Escape stops the playback: the window stays, still, until it is closed.
GAME_ARGS=(--replay "$WORK/game.rec" --trace "$WORK/stopped.trace")
start_game
wait_until 60 main_window >/dev/null || fail "no main window for the second playback"
id=$(main_window)
sleep 1
xdotool windowactivate --sync "$id"
wait_until 20 counting || fail "the second playback does not play"
xdotool key Escape
sleep 0.5
screenshot "$WORK/still-1.png"
sleep 1.5
screenshot "$WORK/still-2.png"
main_window >/dev/null || fail "Escape closed the window"
[ "$(compare -metric AE "$WORK/still-1.png" "$WORK/still-2.png" null: 2>&1)" = 0 ] ||
    fail "the game went on after Escape"
xdotool key alt+F4
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "closing the stopped playback ended it with $GAME_STATUS"
frames() { grep -c '"ev":"frame"' "$1" || true; }
[ "$(frames "$WORK/stopped.trace")" -lt "$(frames "$WORK/sim.trace")" ] ||
    fail "the stopped playback played to its end"
grep -q '"ev":"exit"' "$WORK/stopped.trace" && grep -q '"ev":"close"' "$WORK/stopped.trace" &&
    fail "the stopped playback played the recorded close"
stopped=$(without_music "$WORK/stopped.trace" | wc -l)
cmp -s <(without_music "$WORK/stopped.trace" | head -n $((stopped - 1))) \
    <(without_music "$WORK/sim.trace" | head -n $((stopped - 1))) ||
    fail "the stopped playback differs from the recording before it stopped"

# 3. A recording cut short plays up to its cut, says so in a message box, and the window stays
#    until it is closed.
head -c $(($(stat -c %s "$WORK/game.rec") * 2 / 3)) "$WORK/game.rec" >"$WORK/cut.rec"
GAME_ARGS=(--replay "$WORK/cut.rec")
start_game
box_up() { [ "$(xdotool search --onlyvisible --name '^Vexaro!!$' 2>/dev/null | wc -l)" -ge "$1" ]; }
wait_until 40 box_up 2 || fail "no message box at the end of a cut recording"
grep -q "the recording ends here: it was cut short after line" "$WORK/game.log" ||
    fail "the cut is not named on the console"
xdotool key Return
sleep 1
main_window >/dev/null || fail "the window did not stay after the cut"
xdotool windowactivate --sync "$(main_window)" key alt+F4
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "closing after a cut recording ended with $GAME_STATUS"

# 4. A file that is no recording: a message box, and status 2 once it is answered.
GAME_ARGS=(--replay "$SOURCE/README.md")
start_game
wait_until 30 box_up 1 || fail "no message box for a file that is no recording"
box=$(xdotool search --onlyvisible --name '^Vexaro!!$' | head -1)
xdotool windowactivate --sync "$box" 2>/dev/null || true
xdotool key Return
wait_game 30
[ "$GAME_STATUS" = 2 ] || fail "a bad recording ended with status $GAME_STATUS"
grep -q "README.md: not a Vexaro!! recording" "$WORK/game.log" || fail "the message is not on the console"
echo "replay: the window plays the recording whatever keys are pressed, Escape stops it, a cut one says so, a bad file is refused: ok"
