#!/usr/bin/env bash
# Gamepads on a real display under a window manager: the SDL backend's gamepad tests, played
# with SDL's virtual joystick, need a window of theirs to have the keyboard, since SDL hands a
# pad's presses only to a program that has it.
source "$(dirname "$0")/lib.sh"
program="$BUILD/tests/e2e/vexaro-gamepad-test"
[ -x "$program" ] || { echo "no $program" >&2; exit 1; }

start_display
start_window_manager
"$program" || fail "the gamepad tests failed"
echo "gamepad: plugged in, buttons, D-pad, stick, keyboard beside it, pulled out while held: ok"
