#!/usr/bin/env bash
# The figures table of docs/rounds/README.md: every round measured with its replay.
#   tools/rounds/curve_table.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: curve_table.sh BUILD_DIR}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
for n in 1 2 3 4 5 6 7 8 9; do
    header=$([ "$n" = 1 ] && echo --header || true)
    "$build/vexaro-rounds" stats "$build/rnd_dat/R$n.dat.rnd" "$source_dir/tests/replays/R$n.txt" \
        --row $header
done
