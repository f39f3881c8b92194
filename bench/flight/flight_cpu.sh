#!/usr/bin/env bash
# The processor time the real game takes in flight, at scale 1 and at scale 2, beside its title
# screen: the ship held against the top of a tall open round with Space, so that it stands still
# while its flame flickers and the gauges move, as in a hover. Also what the X server took to
# put the game's pictures on its screen, and how long a key takes to reach the screen: Left and
# Right pressed in turn, PRESSES times, each timed by the game (VEXARO_KEY_LATENCY) from its
# arrival to the present of the first picture made after the game read it. A benchmark, not a
# test: it prints its figures.
#
#   bench/flight/flight_cpu.sh BUILD_DIR [SECONDS] [PRESSES]
source "$(dirname "$0")/../lib.sh" "${1:?usage: flight_cpu.sh BUILD_DIR [SECONDS]}"
seconds=${2:-10}
presses=${3:-220}

# The game in a folder of its own, with a round 1 made for the flight: tall, open, starry, with
# time to spare; the ship starts halfway up and climbs to the top within three seconds.
game_with_round 1 <<'ROUND'
ROUNDRANGE 20 200 0x000000 -1 999
MYSHIP 10 100
GOAL 2 199
ROUND

# One scale: a screen that holds the window that many times and no more.
measure() {
    local scale=$1 title flight xbefore xserver threads
    SCREEN=$2
    export VEXARO_KEY_LATENCY="$WORK/latency-$scale.txt"
    open_game_window
    [ "$w" = $((621 * scale)) ] || fail "on $SCREEN the window is $w wide, not $((621 * scale))"
    title=$(cpu_percent "$GAME_PID" "$seconds")
    xdotool key space
    sleep 5 # the wait banner and the countdown
    xdotool keydown space
    sleep 3 # up to the top of the round
    xbefore=$(cpu_ticks "$XVFB_PID")
    threads=$(thread_ticks "$GAME_PID")
    flight=$(cpu_percent "$GAME_PID" "$seconds")
    threads=$(threads_percent "$GAME_PID" "$threads" "$seconds")
    xserver=$(ticks_percent $(($(cpu_ticks "$XVFB_PID") - xbefore)) "$seconds")
    press_sideways
    xdotool keyup space
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the flight"
    printf 'flight: scale %d (%s): title screen %5s %%   in flight %5s %%   X server in flight %5s %%\n' \
        "$scale" "$SCREEN" "$title" "$flight" "$xserver"
    echo "flight: scale $scale in flight, by thread: $threads"
    key_to_picture "$scale"
    stop_all
}

# Left and Right in turn while hovering, at uneven intervals so that the presses fall anywhere
# in the game's frame and the screen's refresh.
press_sideways() {
    local i key
    for ((i = 0; i < presses; i++)); do
        key=Left
        [ $((i % 2)) = 1 ] && key=Right
        xdotool key "$key"
        sleep "$(printf '0.%03d' $((60 + RANDOM % 90)))"
    done
    sleep 0.5
}

# The median and the 99th percentile of the times the game wrote, in milliseconds.
key_to_picture() {
    local log="$WORK/latency-$1.txt"
    [ -s "$log" ] || fail "the game timed no key (VEXARO_KEY_LATENCY)"
    awk '$1 == 37 || $1 == 39 {print $3}' "$log" | sort -n | awk -v scale="$1" '
        {t[NR] = $1}
        END {
            if (NR == 0) { print "flight: no press of Left or Right was timed"; exit 1 }
            m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
            p = int(0.99 * NR + 0.999999); if (p < 1) p = 1
            printf "flight: scale %d key to picture over %d presses: median %.1f ms, 99th percentile %.1f ms, longest %.1f ms\n", scale, NR, m, t[p], t[NR]
        }'
}

echo "flight: share of one core over $seconds s, the ship hovering against the top of a tall round"
measure 1 800x600
measure 2 1280x1024
echo "flight: aim: at most 2 % at scale 1 and 2, 0.3 % on the title screen;" \
    "key to picture: median at most 15 ms, 99th percentile at most 30 ms"
