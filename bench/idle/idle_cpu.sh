#!/usr/bin/env bash
# The processor time the real game takes while it sits on the title screen, beside a busy loop
# as the yardstick of a whole core. A benchmark, not a test: it prints its figures.
#
#   bench/idle/idle_cpu.sh BUILD_DIR [SECONDS]
set -euo pipefail

build=$(cd "${1:?usage: idle_cpu.sh BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-10}
game="$build/vexaro"
[ -x "$game" ] || { echo "idle: no $game; build it first" >&2; exit 1; }
for tool in Xvfb xwininfo; do
    command -v "$tool" >/dev/null || { echo "idle: $tool is missing (make deps-test)" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    # The game first, then its display.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    # Whatever has not ended a few seconds later is ended for good.
    for _ in $(seq 50); do
        alive=0
        for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
        [ "$alive" = 0 ] && break
        sleep 0.1
    done
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: Xvfb picks a free number and writes it to the pipe.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

clock_ticks=$(getconf CLK_TCK)
# utime + stime of a process and all its threads, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# The game on its title screen, without a sound card.
SDL_AUDIODRIVER=dummy "$game" >"$work/game.log" 2>&1 &
game_pid=$!
pids+=("$game_pid")
for _ in $(seq 300); do
    xwininfo -name 'Vexaro!!' >/dev/null 2>&1 && break
    sleep 0.1
done
if ! kill -0 "$game_pid" 2>/dev/null; then
    echo "idle: the game ended at once (is another Vexaro!! running for this user?)" >&2
    exit 1
fi
xwininfo -name 'Vexaro!!' >/dev/null 2>&1 || { echo "idle: the main window never showed" >&2; exit 1; }
sleep 2 # the splash is gone and the title is drawn
before=$(cpu_ticks "$game_pid")
sleep "$seconds"
after=$(cpu_ticks "$game_pid")
game_cpu=$(awk -v t=$((after - before)) -v hz="$clock_ticks" 'BEGIN {printf "%.2f", t / hz}')

# The yardstick: a loop that never sleeps, for as long; `time` adds up the processor time of it.
busy_cpu=$( (time -p timeout "$seconds" bash -c 'while :; do :; done' || true) 2>&1 |
    awk '/^user/ {u = $2} /^sys/ {s = $2} END {printf "%.2f", u + s}')

percent=$(awk -v g="$game_cpu" -v s="$seconds" 'BEGIN {printf "%.2f", 100 * g / s}')
ratio=$(awk -v g="$game_cpu" -v b="$busy_cpu" 'BEGIN {printf "%.2f", (b > 0) ? 100 * g / b : 0}')
echo "idle: vexaro on its title screen used ${game_cpu} CPU-s in ${seconds} s: ${percent} % of a core"
echo "idle: a busy loop got ${busy_cpu} CPU-s in the same time; the game took ${ratio} % of that"
echo "idle: aim: well under 2 % of a core"
