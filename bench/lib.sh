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

# Each thread of process $1 as "NAME TICKS" (utime + stime), the main thread named "main".
thread_ticks() {
    local task
    for task in /proc/"$1"/task/*; do
        # The name is in parentheses and may hold spaces; the figures follow it.
        awk -v main="$([ "${task##*/}" = "$1" ] && echo 1)" '{
            line = $0; name = substr(line, index(line, "(") + 1)
            name = substr(name, 1, index(name, ")") - 1); gsub(/ /, "_", name)
            split(substr(line, index(line, ")") + 2), f, " ")
            print (main ? "main" : name), f[12] + f[13]}' "$task/stat" 2>/dev/null || true
    done
}

# The share of one core that process $1 took per thread name since the snapshot $2 (from
# thread_ticks) over $3 seconds, as "name:percent ..." (threads of one name added up).
threads_percent() {
    thread_ticks "$1" | awk -v hz="$clock_ticks" -v s="$3" -v before="$2" '
        BEGIN { n = split(before, b, "\n"); for (i = 1; i <= n; i++) { split(b[i], f, " "); was[f[1]] += f[2] } }
        { now[$1] += $2 }
        END { for (t in now) printf "%s:%.1f ", t, 100 * (now[t] - was[t]) / hz / s; print "" }'
}
