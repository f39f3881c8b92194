#!/usr/bin/env bash
# Runs every benchmark against a build folder: the benchmark programs the build made, then the
# scripted ones. It prints figures; a benchmark that cannot run makes the status non-zero.
#
#   bench/run-all.sh BUILD_DIR
set -uo pipefail

build=$(cd "${1:?usage: run-all.sh BUILD_DIR}" && pwd) || exit 1
here=$(cd "$(dirname "$0")" && pwd)
status=0

for program in "$build"/bench/*/vexaro-bench-*; do
    [ -x "$program" ] || continue
    echo "== $(basename "$program")"
    "$program" || status=1
done

echo "== idle: the game on its title screen"
"$here/idle/idle_cpu.sh" "$build" || status=1

echo "== flight: the game in flight at scale 1 and 2"
"$here/flight/flight_cpu.sh" "$build" || status=1

exit $status
