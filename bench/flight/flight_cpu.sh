#!/usr/bin/env bash
# The processor time the real game takes in flight, at scale 1 and at scale 2, beside its title
# screen: the ship held against the top of a tall open round with Space, so that it stands still
# while its flame flickers and the gauges move, as in a hover. Also what the X server took to
# put the game's pictures on its screen. A benchmark, not a test: it prints its figures.
#
#   bench/flight/flight_cpu.sh BUILD_DIR [SECONDS]
NAME=flight
source "$(dirname "$0")/../lib.sh"

build=$(cd "${1:?usage: flight_cpu.sh BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-10}
[ -x "$build/vexaro" ] || bench_fail "no $build/vexaro; build it first"
for tool in Xvfb xwininfo xdotool openbox; do
    command -v "$tool" >/dev/null || bench_fail "$tool is missing (make deps-test)"
done

# The game in a folder of its own, with a round 1 made for the flight: tall, open, starry, with
# time to spare; the ship starts halfway up and climbs to the top within three seconds.
mkdir -p "$work/game/rnd_dat"
cp "$build/vexaro" "$work/game/vexaro"
cp -r "$build/wav" "$work/game/wav"
cat >"$work/tall.txt" <<'ROUND'
ROUNDRANGE 20 200 0x000000 -1 999
MYSHIP 10 100
GOAL 2 199
ROUND
"$build/vexaro-rounds" compile "$work/tall.txt" "$work/game/rnd_dat/R1.dat.rnd" >/dev/null

# One scale: a screen that holds the window that many times and no more.
measure() {
    local scale=$1 screen=$2 id width title flight xserver
    start_display "$screen"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=($!)
    sleep 1
    start_game "$work/game/vexaro"
    sleep 2 # the splash is gone and the title is drawn
    id=$(xdotool search --onlyvisible --name '^Vexaro!!$' | head -1)
    width=$(xwininfo -id "$id" | awk '/Width:/ {print $NF}')
    [ "$width" = $((621 * scale)) ] || bench_fail "on $screen the window is $width wide, not $((621 * scale))"
    xdotool windowactivate --sync "$id"
    title=$(cpu_percent "$GAME_PID" "$seconds")
    xdotool key space
    sleep 5 # the wait banner and the countdown
    xdotool keydown space
    sleep 3 # up to the top of the round
    local xbefore
    xbefore=$(cpu_ticks "$XVFB_PID")
    flight=$(cpu_percent "$GAME_PID" "$seconds")
    xserver=$(awk -v t=$(($(cpu_ticks "$XVFB_PID") - xbefore)) -v hz="$clock_ticks" -v s="$seconds" \
        'BEGIN {printf "%.1f", 100 * t / hz / s}')
    xdotool keyup space
    kill -0 "$GAME_PID" 2>/dev/null || bench_fail "the game ended during the flight"
    printf 'flight: scale %d (%s): title screen %5s %%   in flight %5s %%   X server in flight %5s %%\n' \
        "$scale" "$screen" "$title" "$flight" "$xserver"
    bench_cleanup
}

echo "flight: share of one core over $seconds s, the ship hovering against the top of a tall round"
measure 1 800x600
measure 2 1280x1024
echo "flight: aim: at most 5 % at scale 1, scale 2 as low as the platform allows"
