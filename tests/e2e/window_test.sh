#!/usr/bin/env bash
# The main window's life under a window manager: Always on top from the menu, Escape minimises,
# the window comes back, Space starts a game, and closing the window (Alt+F4) ends the game
# with status 0.
source "$(dirname "$0")/lib.sh"

open_game_window

net_state() { xprop -id "$id" _NET_WM_STATE 2>/dev/null; }
above() { net_state | grep -q _NET_WM_STATE_ABOVE; }
not_above() { ! above; }
iconic() { xprop -id "$id" WM_STATE 2>/dev/null | grep -q 'Iconic'; }
normal() { xprop -id "$id" WM_STATE 2>/dev/null | grep -q 'Normal'; }

# A fixed size: the window manager is told the least and the largest size are the same.
hints=$(xprop -id "$id" WM_NORMAL_HINTS)
grep -q "minimum size: ${w} by ${h}" <<<"$hints" && grep -q "maximum size: ${w} by ${h}" <<<"$hints" ||
    fail "the window can be resized: $hints"

# Settings, Always on top (Alt+E, Z), and again to take it back.
xdotool key alt+e
sleep 0.3
xdotool key z
wait_until 10 above || fail "Always on top did not reach the window manager"
xdotool key alt+e
sleep 0.3
xdotool key z
wait_until 10 not_above || fail "Always on top stayed"

# Escape with no game running minimises the window; it comes back when activated.
xdotool key Escape
wait_until 10 iconic || fail "Escape did not minimise the window"
xdotool windowactivate --sync "$id"
wait_until 10 normal || fail "the window did not come back"

# Space starts a game: the side panel appears, black where the title picture was.
sleep 0.5
xdotool windowactivate --sync "$id"
xdotool key space
wait_until 20 panel_shown || fail "Space did not start a game"
convert "$WORK/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/game.png"

# Closing the window, through the window manager, ends the game with status 0.
xdotool key alt+F4
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "closing the window ended the game with $GAME_STATUS"
echo "window: fixed size, always on top, minimise and back, Space, Alt+F4: ok"
