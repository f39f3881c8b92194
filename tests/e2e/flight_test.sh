#!/usr/bin/env bash
# A flight in the real game, heard through SDL's disk audio driver: Space starts a game, the
# countdown beeps, the game tune plays, holding Space lifts the ship (it stays at the centre
# while the playfield moves under it), Escape minimises and pauses, and Enter resumes.
source "$(dirname "$0")/lib.sh"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/audio.raw"

open_game_window
bar=20

# The opaque core of the ship (its pod, 10 x 10 pixels), drawn at the centre of the viewport,
# or `dy` pixels below it: the ship is drawn one frame's motion off centre.
ship_crop() { convert "$1" -crop "$((10 * S))x$((10 * S))+$((x + (262 - 5) * S))+$((y + (bar + 198 - 9 + ${3:-0}) * S))" +repage "$2"; }
near_centre() {
    local dy
    for dy in $(seq -6 6); do
        ship_crop "$WORK/lifting.png" "$WORK/ship-lifting.png" "$dy"
        same "$WORK/ship-before.png" "$WORK/ship-lifting.png" && return 0
    done
    return 1
}
view_crop() { convert "$1" -crop "$((500 * S))x$((120 * S))+$((x + 10 * S))+$((y + (bar + 10) * S))" +repage "$2"; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

xdotool key space
sleep 4.2 # the countdown: three digits, each a beep and a second
screenshot "$WORK/before.png"
xdotool keydown space
sleep 0.15
screenshot "$WORK/lifting.png"
xdotool keyup space
# Escape at once, while the ship still flies: it minimises the window and pauses the game.
xdotool key Escape
convert "$WORK/lifting.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/lifting.png"

ship_crop "$WORK/before.png" "$WORK/ship-before.png"
view_crop "$WORK/before.png" "$WORK/view-before.png"
view_crop "$WORK/lifting.png" "$WORK/view-lifting.png"
near_centre || fail "the ship did not stay at the centre"
same "$WORK/view-before.png" "$WORK/view-lifting.png" && fail "the playfield did not move under the ship"

# Escape minimises and pauses; back on screen the pause banner blinks until Enter.
iconic() { xprop -id "$id" WM_STATE 2>/dev/null | grep -q 'Iconic'; }
wait_until 10 iconic || fail "Escape did not minimise the window"
xdotool windowactivate --sync "$id"
banner_pixel=$(pixel "$SOURCE/assets/pMsg3.png" 40 64)
paused() {
    screenshot "$WORK/paused.png"
    [ "$(pixel "$WORK/paused.png" $((x + (102 + 40) * S)) $((y + (bar + 134 + 64) * S)))" = "$banner_pixel" ]
}
wait_until 10 paused || { cp "$WORK/paused.png" "$SHOTS/paused-fail.png"; fail "no pause banner after Escape ($(pixel "$WORK/paused.png" $((x + (102 + 40) * S)) $((y + (bar + 134 + 64) * S))) vs $banner_pixel)"; }
convert "$WORK/paused.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/paused.png"
xdotool key Return
sleep 2.5
screenshot "$WORK/resumed.png"
[ "$(pixel "$WORK/resumed.png" $((x + (102 + 40) * S)) $((y + (bar + 134 + 64) * S)))" != "$banner_pixel" ] ||
    fail "the pause banner stayed after Enter"

xdotool key alt+F4
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "closing the window ended the game with $GAME_STATUS"

# What was heard: three clean beeps about a second apart, and the game tune around them.
python3 "$(dirname "$0")/audio_check.py" "$WORK/audio.raw" || fail "the audio check failed"
echo "flight: Space starts, beeps and tune heard, Space lifts the ship, Escape pauses, Enter resumes: ok"
