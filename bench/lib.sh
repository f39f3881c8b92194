# Shared steps of the benchmarks that measure the real game: the end-to-end tests' display, game
# and clean-up (tests/e2e/lib.sh), and the processor time of a process. Sourced by the *_cpu.sh
# scripts with the build folder.
bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$bench_dir/../tests/e2e/lib.sh" "$1" "$bench_dir/.."

clock_ticks=$(getconf CLK_TCK)
# utime + stime of a process and all its threads, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Clock ticks $1 taken over $2 seconds, as a share of one core in per cent.
ticks_percent() { awk -v t="$1" -v hz="$clock_ticks" -v s="$2" 'BEGIN {printf "%.1f", 100 * t / hz / s}'; }

# The share of one core that process $1 takes over the next $2 seconds, in per cent.
cpu_percent() {
    local before
    before=$(cpu_ticks "$1")
    sleep "$2"
    ticks_percent $(($(cpu_ticks "$1") - before)) "$2"
}
