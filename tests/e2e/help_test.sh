#!/usr/bin/env bash
# The help window on a real display under a window manager, with the main window as it is and
# with Always on top checked: Help, Contents opens the help window above the main window, where
# it is seen and takes the keyboard; Escape closes it and the keyboard is the main window's
# again, so that Space starts a game.
source "$(dirname "$0")/lib.sh"

open_game_window

help_window() { xdotool search --onlyvisible --name '^Vexaro!! .' 2>/dev/null | head -1; } # "Vexaro!! ヘルプ"
help_up() { [ -n "$(help_window)" ]; }
help_gone() { [ -z "$(help_window)" ]; }
above() { xprop -id "$id" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
# Windows from the bottom of the stack to the top, as the window manager keeps them.
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | xargs -n1 printf '%d\n'; }
stacked_above() { # window, other: the window lies above the other
    local order
    order=$(stacking)
    [ "$(grep -nx "$1" <<<"$order" | cut -d: -f1)" -gt "$(grep -nx "$2" <<<"$order" | cut -d: -f1)" ]
}
# The help window's paper (its lower right corner, below any text) is what the screen shows there.
help_seen() {
    local hx hy hw hh
    read -r hx hy hw hh <<<"$(window_geometry "$help")"
    screenshot "$WORK/help.png"
    [ "$(pixel "$WORK/help.png" $((hx + hw - 4 * S)) $((hy + hh - 4 * S)))" = FFFFEE ]
}

open_help() { # $1: how the main window stands
    xdotool windowactivate --sync "$id"
    xdotool key alt+h
    sleep 0.3
    xdotool key c
    wait_until 10 help_up || fail "$1: Help, Contents showed no window"
    help=$(help_window)
    wait_until 10 stacked_above "$help" "$id" || fail "$1: the help window opened under the main window"
    wait_until 10 help_seen || fail "$1: the help window is not seen over the main window"
    wait_until 10 active_is "$help" || fail "$1: the help window has not got the keyboard"
}

close_help() { # $1: how the main window stands
    xdotool key Escape
    wait_until 10 help_gone || fail "$1: Escape did not close the help window"
    wait_until 10 active_is "$id" || fail "$1: the keyboard did not come back to the main window"
}

open_help "a plain main window"
close_help "a plain main window"

# Settings, Always on top (Alt+E, Z).
xdotool key alt+e
sleep 0.3
xdotool key z
wait_until 10 above || fail "Always on top did not reach the window manager"
open_help "always on top"
close_help "always on top"
above || fail "the main window is no longer on top"

# The keys are the game's again: Space starts a game, the side panel appears.
xdotool key space
wait_until 20 panel_shown || fail "Space after the help window did not start a game"
echo "help: above the main window, plain and always on top, keyboard back after Escape: ok"
