#!/usr/bin/env bash
# The zip unpacked into a folder whose path has Japanese characters and spaces, and a whole game
# played there through the real window under Wine to the ending, recorded with --record and
# --trace to files named in Japanese: the countdown beeps and the tune are heard (SDL's disk audio
# driver: Wine has no sound card here), the ship lifts, steers and crashes, every round is cleared
# and the ending's fanfare plays; vexaro-sim on Linux plays the recording to the same trace: every
# frame, mode change, banner, sound and explosion.
source "$(dirname "$0")/lib.sh"

SIM="$BUILD/vexaro-sim"
[ -x "$SIM" ] || fail "no $SIM"
export LC_ALL=C.UTF-8 # Wine reads the command line's Japanese in the locale's encoding
start_display # before anything of Wine's starts: Wine's desktop comes up with the first program
start_window_manager

unpack_zip "$WORK/ゲーム フォルダ/Vexaro 試験"
# Every round the shaft of the Linux record test. Nine landings are the whole game.
shaft_round >"$WORK/round.txt"
for round in 1 2 3 4 5 6 7 8 9; do
    "$BUILD/vexaro-rounds" compile "$WORK/round.txt" "$GAME_DIR/rnd_dat/R$round.dat.rnd" >/dev/null
done

export SDL_AUDIODRIVER=disk
SDL_DISKAUDIOFILE=$(winepath -w "$WORK/audio.raw")
export SDL_DISKAUDIOFILE
RECORDING="$GAME_DIR/飛行 記録.rec"
TRACE="$GAME_DIR/飛行 記録.trace"
GAME_ARGS=(--record "$(winepath -w "$RECORDING")" --trace "$(winepath -w "$TRACE")")

start_wine_game
find_wine_window
began=$SECONDS

# The fall from that height crashes, the next attempt lands, and every round after it lands by
# itself, to the ending and back to the title.
lift_and_steer 30
# The ending's picture stays when it has been drawn: the game is over once the window has not
# changed for five seconds (a flight, a banner or a countdown never stands that long).
still_for=0
ended() {
    screenshot "$WORK/now.png"
    if [ -f "$WORK/last.png" ] && [ "$(compare -metric AE "$WORK/now.png" "$WORK/last.png" null: 2>&1)" = 0 ]; then
        still_for=$((still_for + 1))
    else
        still_for=0
    fi
    mv "$WORK/now.png" "$WORK/last.png"
    sleep 1
    [ $still_for -ge 5 ]
}
sleep 20
wait_until 300 ended || fail "the game did not come to its end"
convert "$WORK/last.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/windows-ending.png"
xdotool key alt+F4
wait_game 60
[ "$GAME_STATUS" = 0 ] || fail "closing the window ended the game with $GAME_STATUS"
seconds=$((SECONDS - began))

[ -s "$RECORDING" ] || fail "no recording under its Japanese name"
[ -s "$TRACE" ] || fail "no trace under its Japanese name"
cp "$TRACE" "$SHOTS/windows-record.trace" # kept for a look after a failure
! grep -q $'\r' "$TRACE" || fail "the trace has Windows line ends"
modes=$(sed -n 's/.*"ev":"mode".*"to":\([0-9]*\).*/\1/p' "$TRACE" | tr '\n' ' ')
for mode in 1 8 0; do
    [[ " $modes" == *" $mode "* ]] || fail "the game never went to mode $mode (modes: $modes)"
done
grep -q '"ev":"frame".*"vx":[1-9]' "$TRACE" || fail "the ship never steered right"
grep -q '"ev":"frame".*"vy":-' "$TRACE" || fail "the ship never lifted"
grep -q '"ev":"explode"' "$TRACE" || fail "no explosion"
[ "$(grep -c '"ev":"mode","from":1,"to":8' "$TRACE")" = 9 ] || fail "not every round was cleared (modes: $modes)"
tail -1 "$RECORDING" | grep -q '^\(+[0-9]* \)\?end 0$' || fail "the recording has no end: $(tail -1 "$RECORDING")"

# The same game from the recording alone, headless on Linux.
"$SIM" --replay "$RECORDING" --trace "$WORK/replayed.trace" >"$WORK/sim.log" 2>&1 ||
    fail "vexaro-sim could not play the recording: $(cat "$WORK/sim.log")"
events() { grep -E '"ev":"(frame|mode|message|sound|explode)"' "$1"; }
events "$TRACE" >"$WORK/real.events"
events "$WORK/replayed.trace" >"$WORK/replayed.events"
if ! cmp -s "$WORK/real.events" "$WORK/replayed.events"; then
    diff "$WORK/real.events" "$WORK/replayed.events" | head -20 >&2
    fail "the replay differs from the game"
fi
frames=$(grep -c '"ev":"frame"' "$WORK/real.events")
# The headless game also notes the music: the ending's fanfare played.
grep -q '"ev":"music".*"fanfa4.mid"' "$WORK/replayed.trace" || fail "no ending fanfare"

# What was heard: three beeps about a second apart, then the tune.
python3 "$SOURCE/tests/e2e/audio_check.py" "$WORK/audio.raw" || fail "the audio check failed"
echo "record: from a Japanese folder, the whole game to the ending, $frames frames, modes $modes in ${seconds} s; sound heard; replayed on Linux, the same: ok"
