#!/usr/bin/env bash
# The menu bar and the message box on a real display under a window manager: a click drops a
# menu down and dragging across the titles follows the mouse; Escape backs out; Alt with an
# access key opens a menu and a letter chooses; Quit asks in the game's own message box, No
# leaves the game running, Yes ends it with status 0.
source "$(dirname "$0")/lib.sh"

open_game_window
[ "$S" -ge 1 ] || fail "main window is ${w}x$h"
FACE=D4D0C8
dropped_at() { [ "$(screen_pixel "$1" 30)" = "$FACE" ]; }
folded_at() { [ "$(screen_pixel "$1" 30)" != "$FACE" ]; }

# A press on the first title drops its menu down. Its frame's inner grey column (picture x 4)
# stays grey whichever item is highlighted; the title picture there is blue.
xdotool mousemove $(picture_at 20 10) click 1
wait_until 10 dropped_at 4 || fail "no menu under the first title"
convert "$WORK/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/menu-open.png"
# Across the titles the open menu follows the mouse: the third title's menu, the first folds.
xdotool mousemove $(picture_at 150 10)
wait_until 10 dropped_at 130 || fail "the menu did not follow the mouse"
folded_at 4 || fail "the first menu stayed down"
# Escape folds the menu up, a second Escape leaves the bar.
xdotool key Escape
wait_until 10 folded_at 130 || fail "Escape left the menu down"
xdotool key Escape

# Alt+G, then X: the Quit command, which asks in a message box.
boxes() { xdotool search --onlyvisible --name '^Vexaro!!$' 2>/dev/null | grep -vx "$id" || true; }
box_up() { [ -n "$(boxes)" ]; }
box_gone() { [ -z "$(boxes)" ]; }
xdotool key alt+g
wait_until 10 dropped_at 4 || fail "Alt+G did not open the first menu"
xdotool key x
wait_until 10 box_up || fail "no message box after Quit"
box=$(boxes | head -1)
read -r bx by bw bh <<<"$(window_geometry "$box")"
# Centred over the main window.
[ $((bx + bw / 2 - x - w / 2)) -le $S ] && [ $((x + w / 2 - bx - bw / 2)) -le $S ] ||
    fail "the box is not centred across the main window"
sleep 0.3
screenshot "$WORK/box.png"
convert "$WORK/box.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/msgbox.png"
# Its caption bar is drawn dark blue at the left, its face grey.
[ "$(pixel "$WORK/box.png" $((bx + 4 * S)) $((by + 10 * S)))" = 0A246A ] || fail "no caption bar"
[ "$(pixel "$WORK/box.png" $((bx + 6 * S)) $((by + bh - 6 * S)))" = "$FACE" ] || fail "no face"
# While it is up the main window takes no input: a press on its menu bar opens nothing.
xdotool mousemove $(picture_at 20 10) click 1
sleep 0.5
folded_at 4 || fail "the menu opened behind the message box"
box_up || fail "the box went away"
# Escape answers No: the box goes, the game goes on.
xdotool windowactivate --sync "$box" 2>/dev/null || true
xdotool key Escape
wait_until 10 box_gone || fail "Escape did not close the box"
sleep 0.5
kill -0 "$GAME_PID" || fail "No ended the game"

# Again, and Enter answers Yes (the default button): the game ends with status 0.
xdotool windowactivate --sync "$id"
xdotool key alt+g
wait_until 10 dropped_at 4 || fail "Alt+G did not open the menu a second time"
xdotool key x
wait_until 10 box_up || fail "no message box the second time"
xdotool key Return
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "Quit, Yes ended the game with $GAME_STATUS"
echo "menu: mouse, drag, Escape, access keys, message box No and Yes: ok"
