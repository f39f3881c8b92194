#!/usr/bin/env bash
# The processor time the real game takes in flight, at scale 1 and at scale 2, beside its title
# screen: the ship held against the top of a tall open round with Space, so that it stands still
# while its flame flickers and the gauges move, as in a hover. Also what the X server took to
# put the game's pictures on its screen. A benchmark, not a test: it prints its figures.
#
#   bench/flight/flight_cpu.sh BUILD_DIR [SECONDS]
source "$(dirname "$0")/../lib.sh" "${1:?usage: flight_cpu.sh BUILD_DIR [SECONDS]}"
seconds=${2:-10}

# The game in a folder of its own, with a round 1 made for the flight: tall, open, starry, with
# time to spare; the ship starts halfway up and climbs to the top within three seconds.
game_with_round 1 <<'ROUND'
ROUNDRANGE 20 200 0x000000 -1 999
MYSHIP 10 100
GOAL 2 199
ROUND

# One scale: a screen that holds the window that many times and no more.
measure() {
    local scale=$1 title flight xbefore xserver
    SCREEN=$2
    open_game_window
    [ "$w" = $((621 * scale)) ] || fail "on $SCREEN the window is $w wide, not $((621 * scale))"
    title=$(cpu_percent "$GAME_PID" "$seconds")
    xdotool key space
    sleep 5 # the wait banner and the countdown
    xdotool keydown space
    sleep 3 # up to the top of the round
    xbefore=$(cpu_ticks "$XVFB_PID")
    flight=$(cpu_percent "$GAME_PID" "$seconds")
    xserver=$(ticks_percent $(($(cpu_ticks "$XVFB_PID") - xbefore)) "$seconds")
    xdotool keyup space
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the flight"
    printf 'flight: scale %d (%s): title screen %5s %%   in flight %5s %%   X server in flight %5s %%\n' \
        "$scale" "$SCREEN" "$title" "$flight" "$xserver"
    stop_all
}

echo "flight: share of one core over $seconds s, the ship hovering against the top of a tall round"
measure 1 800x600
measure 2 1280x1024
echo "flight: aim: at most 5 % at scale 1, scale 2 as low as the platform allows"
