#!/usr/bin/env bash
# The processor time the real game takes while it sits on the title screen, beside a busy loop
# as the yardstick of a whole core. A benchmark, not a test: it prints its figures.
#
#   bench/idle/idle_cpu.sh BUILD_DIR [SECONDS]
source "$(dirname "$0")/../lib.sh" "${1:?usage: idle_cpu.sh BUILD_DIR [SECONDS]}"
seconds=${2:-10}

start_display
start_game
wait_until 60 main_window >/dev/null || fail "the main window never showed"
sleep 2 # the splash is gone and the title is drawn
before=$(cpu_ticks "$GAME_PID")
sleep "$seconds"
after=$(cpu_ticks "$GAME_PID")
game_cpu=$(awk -v t=$((after - before)) -v hz="$clock_ticks" 'BEGIN {printf "%.2f", t / hz}')

# The yardstick: a loop that never sleeps, for as long; `time` adds up the processor time of it.
busy_cpu=$( (time -p timeout "$seconds" bash -c 'while :; do :; done' || true) 2>&1 |
    awk '/^user/ {u = $2} /^sys/ {s = $2} END {printf "%.2f", u + s}')

percent=$(awk -v g="$game_cpu" -v s="$seconds" 'BEGIN {printf "%.2f", 100 * g / s}')
ratio=$(awk -v g="$game_cpu" -v b="$busy_cpu" 'BEGIN {printf "%.2f", (b > 0) ? 100 * g / b : 0}')
echo "idle: vexaro on its title screen used ${game_cpu} CPU-s in ${seconds} s: ${percent} % of a core"
echo "idle: a busy loop got ${busy_cpu} CPU-s in the same time; the game took ${ratio} % of that"
echo "idle: aim: well under 2 % of a core"
