# Shared steps of the benchmarks that measure the real game: a display of their own, the game on
# it without a sound card, the processor time of a process, and a clean-up that ends everything
# they started. Sourced by the *_cpu.sh scripts, which set NAME (for messages) first.
set -euo pipefail

bench_fail() {
    echo "$NAME: $*" >&2
    exit 1
}

work=$(mktemp -d)
pids=() # started here, ended by the clean-up in reverse order
bench_cleanup() {
    local i alive pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    # Whatever has not ended a few seconds later is ended for good.
    for _ in $(seq 50); do
        alive=0
        for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
        [ "$alive" = 0 ] && break
        sleep 0.1
    done
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    pids=()
}
trap 'bench_cleanup; rm -rf "$work"' EXIT

# A display of our own of the given size (Xvfb picks a free number and writes it to the pipe);
# sets DISPLAY and XVFB_PID.
start_display() {
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    XVFB_PID=$!
    pids+=("$XVFB_PID")
    exec 3>&-
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || bench_fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(cat "$work/display")"
}

# The game, without a sound card and with an instance lock of its own; sets GAME_PID once its
# main window shows.
start_game() {
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    SDL_AUDIODRIVER=dummy "$1" >"$work/game.log" 2>&1 &
    GAME_PID=$!
    pids+=("$GAME_PID")
    for _ in $(seq 300); do
        xwininfo -name 'Vexaro!!' >/dev/null 2>&1 && break
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null ||
        bench_fail "the game ended at once (is another Vexaro!! running for this user?)"
    xwininfo -name 'Vexaro!!' >/dev/null 2>&1 || bench_fail "the main window never showed"
}

clock_ticks=$(getconf CLK_TCK)
# utime + stime of a process and all its threads, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# The share of one core that process $1 takes over the next $2 seconds, in per cent.
cpu_percent() {
    local before after
    before=$(cpu_ticks "$1")
    sleep "$2"
    after=$(cpu_ticks "$1")
    awk -v t=$((after - before)) -v hz="$clock_ticks" -v s="$2" 'BEGIN {printf "%.1f", 100 * t / hz / s}'
}
