#!/usr/bin/env bash
# A game flown in the real window and recorded, then played again by vexaro-sim from the
# recording alone: every frame, mode change, banner, sound and explosion step of the two traces
# is the same. The flight: Space starts, Space held lifts the ship, Right and Left steer, Enter
# pauses and resumes, the fall crashes it, and the next attempt lands on the pad below. Then a
# display that goes away in the middle of a game: the recording is still whole and plays.
source "$(dirname "$0")/lib.sh"

SIM="$BUILD/vexaro-sim"
[ -x "$SIM" ] || { echo "no $SIM" >&2; exit 1; }

# The game in a folder of its own with the shaft round made for this flight.
game_with_round 1 2 < <(shaft_round)
GAME_ARGS=(--record "$WORK/flight.rec" --trace "$WORK/real.trace")

open_game_window
began=$SECONDS

lift_and_steer 20
# Paused on the way up; Enter again resumes (once more when a blink's release check took it).
sleep 0.3
xdotool key Return
wait_until 10 paused || fail "Enter did not pause"
sleep 1
resume_with_enter paused || fail "Enter did not resume"
# The fall from that height crashes; the next attempt lands by itself.
wait_until 40 showing pMsg0.png || fail "the second attempt did not land"
xdotool key alt+F4
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "closing the window ended the game with $GAME_STATUS"
seconds=$((SECONDS - began))

# What the real game did: it paused, resumed, crashed and landed, and it steered.
modes=$(sed -n 's/.*"ev":"mode".*"to":\([0-9]*\).*/\1/p' "$WORK/real.trace" | tr '\n' ' ')
for mode in 2 4 8; do
    [[ " $modes" == *" $mode "* ]] || fail "the game never went to mode $mode (modes: $modes)"
done
grep -q '"ev":"frame".*"vx":[1-9]' "$WORK/real.trace" || fail "the ship never steered right"
grep -q '"ev":"frame".*"vy":-' "$WORK/real.trace" || fail "the ship never lifted"
grep -q '"ev":"explode"' "$WORK/real.trace" || fail "no explosion"
tail -1 "$WORK/flight.rec" | grep -q '^\(+[0-9]* \)\?end 0$' || fail "the recording has no end: $(tail -1 "$WORK/flight.rec")"

# The same game from the recording alone, headless, in a folder without the round: the
# recording holds the round file it read.
"$SIM" --replay "$WORK/flight.rec" --trace "$WORK/replayed.trace" >"$WORK/sim.log" 2>&1 ||
    fail "vexaro-sim could not play the recording: $(cat "$WORK/sim.log")"
events() { grep -E '"ev":"(frame|mode|message|sound|explode)"' "$1"; }
events "$WORK/real.trace" >"$WORK/real.events"
events "$WORK/replayed.trace" >"$WORK/replayed.events"
if ! cmp -s "$WORK/real.events" "$WORK/replayed.events"; then
    diff "$WORK/real.events" "$WORK/replayed.events" | head -20 >&2
    fail "the replay differs from the game"
fi
frames=$(grep -c '"ev":"frame"' "$WORK/real.events")

# The display going away in the middle of a flight still leaves a whole recording, which plays.
GAME_ARGS=(--record "$WORK/lost.rec")
start_game
wait_until 60 main_window >/dev/null || fail "no main window for the second game"
sleep 1.5
xdotool windowactivate --sync "$(main_window)" key space
sleep 5
lose_display
wait_game 30
tail -1 "$WORK/lost.rec" | grep -q '^\(+[0-9]* \)\?end exit$' ||
    fail "the recording of a lost display has no end: $(tail -1 "$WORK/lost.rec")"
"$SIM" --replay "$WORK/lost.rec" --trace "$WORK/lost.trace" >"$WORK/sim.log" 2>&1 ||
    fail "the recording of a lost display does not play: $(cat "$WORK/sim.log")"
grep -q '"ev":"frame"' "$WORK/lost.trace" || fail "the recording of a lost display has no flight"

echo "record: $frames frames, modes $modes, $(stat -c %s "$WORK/flight.rec") bytes for ${seconds} s of play; replayed headless, the same: ok"
