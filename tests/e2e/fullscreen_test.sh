#!/usr/bin/env bash
# Full screen on a wide display under a window manager: F11 fills the screen with the game at a
# whole scale, centred on black; the menu bar works there with the mouse; Space starts a game;
# Alt+Enter brings the window back where it was, at its fixed size, and both keys go in and
# out again; closing the window ends the game with status 0.
SCREEN=1920x1080
source "$(dirname "$0")/lib.sh"

open_game_window
[ "$S" = 2 ] || fail "the window is ${w}x$h on a $SCREEN screen"
windowed="$x $y $w $h"
geometry_is() { [ "$(window_geometry "$id")" = "$1" ]; }
full="0 0 1920 1080"

# In full screen the picture is enlarged twice (1242 x 834), centred: 339 pixels of black on
# either side, 123 above and below.
FX=339 FY=123 FS=2
FACE=D4D0C8

xdotool key F11
wait_until 10 geometry_is "$full" || fail "F11: the window is at $(window_geometry "$id")"
PICTURE="$FX $FY $FS"
sleep 0.5
screenshot "$WORK/full.png"
for point in "5 5" "1914 1074" "300 540" "1620 540" "960 60" "960 1020"; do
    read -r px py <<<"$point"
    [ "$(pixel "$WORK/full.png" "$px" "$py")" = 000000 ] || fail "the screen at $px,$py is not black"
done
# The title picture tiled under the menu bar, as in the window.
check_title_screen "$WORK/full.png" "$FX" "$FY" "$FS"
[ "$(picture_pixel "$WORK/full.png" 600 10)" = "$FACE" ] || fail "no menu bar in full screen"

# The menu bar with the mouse: a press on the first title drops its menu down, Escape backs out.
dropped() { [ "$(screen_pixel 4 30)" = "$FACE" ]; }
folded() { ! dropped; }
xdotool mousemove $(picture_at 20 10) click 1
wait_until 10 dropped || fail "a click on the menu bar opened nothing in full screen"
xdotool key Escape
wait_until 10 folded || fail "Escape left the menu down"
xdotool key Escape

# Space starts a game: the side panel appears, black where the title picture was.
xdotool key space
wait_until 20 panel_shown || fail "Space did not start a game in full screen"
# When the countdown's last digit has gone, the ship flies: a moment on the main engine.
wait_until 20 counting || fail "no countdown in full screen"
wait_until 20 counted || fail "the countdown did not end"
xdotool keydown space
sleep 0.4
screenshot "$SHOTS/fullscreen.png"
xdotool keyup space

# Alt+Enter: the window where it was, at its own size, still of a fixed size; the menu bar
# did not take the Alt.
xdotool key alt+Return
wait_until 10 geometry_is "$windowed" || fail "Alt+Enter left the window at $(window_geometry "$id"), not $windowed"
hints=$(xprop -id "$id" WM_NORMAL_HINTS)
grep -q "minimum size: ${w} by ${h}" <<<"$hints" && grep -q "maximum size: ${w} by ${h}" <<<"$hints" ||
    fail "the window can be resized after full screen: $hints"
PICTURE=
sleep 0.5
screenshot "$WORK/back.png"
[ "$(picture_pixel "$WORK/back.png" 4 30)" != "$FACE" ] || fail "Alt opened the menu"

# Both keys go both ways.
xdotool key alt+Return
wait_until 10 geometry_is "$full" || fail "Alt+Enter did not go to full screen: the window is at $(window_geometry "$id")"
xdotool key F11
wait_until 10 geometry_is "$windowed" || fail "F11 did not leave full screen: the window is at $(window_geometry "$id"), not $windowed"

xdotool key alt+F4
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "closing the window ended the game with $GAME_STATUS"
echo "fullscreen: F11 and Alt+Enter, centred at x2 on black, menu bar, window back in place: ok"
