#!/usr/bin/env bash
# A flight in the real game, heard through SDL's disk audio driver: Space starts a game, the
# countdown beeps, the game tune plays, holding Space lifts the ship (it stays at the centre
# while the playfield moves under it), Escape minimises and pauses, and Enter resumes.
source "$(dirname "$0")/lib.sh"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/audio.raw"

# The game in a folder of its own with a round made for this flight: a tall shaft with room to
# fall and rise for seconds, and bands of decoration at uneven heights so that any lift shows.
game_with_round 1 <<'ROUND'
ROUNDRANGE 20 100 0x201000 0 120
BMPBOX 1 41 18 41 3 0
BMPBOX 1 43 18 44 4 0
BMPBOX 1 48 18 48 2 0
BMPBOX 1 53 18 53 5 -1
BMPBOX 1 55 18 55 3 0
BMPBOX 1 59 18 59 4 0
ROCK 0 0 19 0 1
ROCK 0 99 19 99 1
ROCK 0 1 0 98 1
ROCK 19 1 19 98 1
MYSHIP 10 50
GOAL 2 98
ROUND

open_game_window

# The opaque core of the ship (its pod, 10 x 10 pixels), drawn at the centre of the viewport,
# or `dy` pixels below it: the ship is drawn one frame's motion off centre.
ship_crop() { convert "$1" -crop "$((10 * S))x$((10 * S))+$((x + (262 - 5) * S))+$((y + (MENU_BAR + 198 - 9 + ${3:-0}) * S))" +repage "$2"; }
near_centre() {
    local dy
    for dy in $(seq -6 6); do
        ship_crop "$WORK/lifting.png" "$WORK/ship-lifting.png" "$dy"
        same "$WORK/ship-before.png" "$WORK/ship-lifting.png" && return 0
    done
    return 1
}
# A part of the viewport away from the ship and the countdown digits.
view_crop() { convert "$1" -crop "$((190 * S))x$((120 * S))+$((x + 10 * S))+$((y + (MENU_BAR + 10) * S))" +repage "$2"; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

xdotool key space
# The countdown: three digits, each a beep and a second; the ship waits at the centre. When the
# last digit has gone, the ship flies (and falls).
wait_until 20 counting || fail "no countdown"
cp "$WORK/screen.png" "$WORK/before.png"
wait_until 20 counted || fail "the countdown did not end"
# A short lift, then Escape at once, while the ship still flies: the window is minimised and the
# game paused, so the ship stays where the lift took it.
xdotool keydown space
sleep 0.3
xdotool keyup space
xdotool key Escape
iconic() { xprop -id "$id" WM_STATE 2>/dev/null | grep -q 'Iconic'; }
wait_until 10 iconic || fail "Escape did not minimise the window"
xdotool windowactivate --sync "$id"

# Back on screen the pause banner blinks, a second on and a second off.
wait_until 10 paused || { cp "$WORK/screen.png" "$SHOTS/paused-fail.png"; fail "no pause banner after Escape"; }
convert "$WORK/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/paused.png"
wait_until 10 blinked_off || fail "the pause banner did not blink"
cp "$WORK/screen.png" "$WORK/lifting.png"
convert "$WORK/lifting.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/lifting.png"

# The lift moved the playfield under the ship, and the ship stayed at the centre.
ship_crop "$WORK/before.png" "$WORK/ship-before.png"
view_crop "$WORK/before.png" "$WORK/view-before.png"
view_crop "$WORK/lifting.png" "$WORK/view-lifting.png"
near_centre || fail "the ship did not stay at the centre"
same "$WORK/view-before.png" "$WORK/view-lifting.png" && fail "the playfield did not move under the ship"

# Enter resumes: after the grace second the banner does not come back.
resume_with_enter paused || fail "the pause banner came back after Enter"

xdotool key alt+F4
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "closing the window ended the game with $GAME_STATUS"

# What was heard: three clean beeps about a second apart, and the game tune around them.
python3 "$(dirname "$0")/audio_check.py" "$WORK/audio.raw" || fail "the audio check failed"
echo "flight: Space starts, beeps and tune heard, Space lifts the ship, Escape pauses, Enter resumes: ok"
