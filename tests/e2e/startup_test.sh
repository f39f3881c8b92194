#!/usr/bin/env bash
# Start-up on a real display: the splash with its blue bands, then the main window centred and
# enlarged twice with the tiled title picture; a second game started meanwhile ends by itself;
# the end of the session (a terminate signal) ends the game with status 0; a display that goes
# away ends it at once.
source "$(dirname "$0")/lib.sh"

start_display
SCALE=2 # 1280 x 1024 holds the 621 x 417 window twice, not three times

# The splash: 408 x 249 in a dialog frame of 3 on every side, centred. Caught while it is up
# (about a second).
splash_shown() {
    local w=$((414 * SCALE)) h=$((255 * SCALE))
    unnamed_windows | grep -q " ${w}x${h}+"
}
start_game
wait_until 60 splash_shown || fail "no splash window"
wx=$(((1280 - 414 * SCALE) / 2))
wy=$(((1024 - 255 * SCALE) / 2))
sx=$((wx + 3 * SCALE)) # the client area
sy=$((wy + 3 * SCALE))
# Left edge of the first and the last band: blue 255 at the top, 255 - 255 * 240 / 249 = 10 below.
splash_painted() {
    screenshot "$WORK/splash.png"
    top=$(pixel "$WORK/splash.png" $((sx + 5 * SCALE)) $((sy + 5 * SCALE)))
    bottom=$(pixel "$WORK/splash.png" $((sx + 5 * SCALE)) $((sy + 245 * SCALE)))
    [ "$top" = 0000FF ] && [ "$bottom" = 00000A ]
}
if ! wait_until 5 splash_painted; then
    # On a slow machine the main window may lie over it before it could be read.
    main_window >/dev/null || fail "splash bands are $top and $bottom, not 0000FF and 00000A"
    echo "note: the splash was covered before it could be read ($top, $bottom)"
fi
convert "$WORK/splash.png" -crop "$((414 * SCALE))x$((255 * SCALE))+${wx}+${wy}" +repage "$SHOTS/splash.png"

# The main window: 621 x (20 + 397) enlarged twice, centred on the screen.
wait_until 60 main_window >/dev/null || fail "no main window"
id=$(main_window)
read -r x y w h <<<"$(window_geometry "$id")"
[ "$w" = $((621 * SCALE)) ] && [ "$h" = $((417 * SCALE)) ] || fail "main window is ${w}x$h"
[ "$x" = $(((1280 - w) / 2)) ] && [ "$y" = $(((1024 - h) / 2)) ] || fail "main window at $x,$y"
splash_gone() { ! splash_shown; }
wait_until 30 splash_gone || fail "the splash stayed"
sleep 0.5
screenshot "$WORK/title.png"
convert "$WORK/title.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/title.png"

# The title picture tiled from the client area's corner, each pixel a square of SCALE.
check_title_screen "$WORK/title.png" "$x" "$y" "$SCALE"
# The menu bar above it: the classic grey face.
bar=$(pixel "$WORK/title.png" $((x + w - 10)) $((y + 10 * SCALE)))
[ "$bar" = D4D0C8 ] || fail "menu bar face is $bar"

# A second game ends by itself, at once and with status 0; the first one goes on.
started=$SECONDS
status=0
timeout 30 "$GAME" >>"$WORK/game.log" 2>&1 || status=$?
[ "$status" = 0 ] || fail "the second game ended with $status"
[ $((SECONDS - started)) -le 15 ] || fail "the second game took $((SECONDS - started)) s"
kill -0 "$GAME_PID" || fail "the first game ended too"

# The end of the session: as if the window were closed, status 0.
kill -TERM "$GAME_PID"
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "the game ended with $GAME_STATUS on a terminate signal"

# The display going away: Xlib ends the game with exit(), whose destructors destroy the windows.
# Nothing on that way out may wait for the display that is gone.
start_game
wait_until 60 main_window >/dev/null || fail "no main window for the game to lose"
lose_display
wait_game 30

# No display to reach at all: the game says so and ends, rather than running unseen.
status=0
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 30 "$GAME" >"$WORK/no-display.log" 2>&1 || status=$?
cat "$WORK/no-display.log" >>"$WORK/game.log" # read for sanitizer reports too
[ "$status" = 1 ] || fail "with no display the game ended with $status (124: it ran on unseen)"
grep -q "cannot start the display" "$WORK/no-display.log" || fail "no word of the missing display"
echo "startup: splash, centred title window at x$SCALE, second instance, end of session, lost display, no display: ok"
