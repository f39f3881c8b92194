#!/usr/bin/env bash
# Writes the seed corpus of the round file fuzzer, tests/fuzz/corpus/, with the round tool:
#   tests/fuzz/make-corpus.sh BUILD/vexaro-rounds
# The nine rounds and the worked example compiled, the files the tests read, and inputs that
# once found a fault. Inputs the fuzzer finds later join through `make fuzz-merge`; this script
# only rewrites its own files.
set -euo pipefail
tool=$1
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
corpus=$here/corpus
mkdir -p "$corpus"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

compile() { # NAME TEXT: the text form compiled into corpus/NAME.rnd
    printf '%s\n' "$2" > "$work/$1.txt"
    "$tool" compile "$work/$1.txt" "$corpus/$1.rnd"
}

for round in "$source_dir"/rounds/R*.txt; do
    "$tool" compile "$round" "$corpus/$(basename "$round" .txt).dat.rnd"
done
"$tool" compile "$source_dir/tests/fixtures/worked-example.txt" "$corpus/worked-example.dat.rnd"

# What the reader and loader tests refuse or skip.
compile test-empty '!noheader'
compile test-short-header $'!noheader\n!bytes 01 00'
compile test-ends-in-numbers $'!count 1\n!bytes 0a 00 08 15 0f 14 1e 08 1b 14 1d 1f 14 00 00 00 0f 00 00 00 00 00 00 00\n!bytes ff ff ff ff 78 00 00 00 00 00 00 00 00 00 00 00 00'
compile test-negative-count '!count -1'
compile test-range-too-wide 'ROUNDRANGE 216 10'
compile test-rock-off-grid $'ROUNDRANGE 10 10\nROCK 0 0 300 0 1'
compile test-bad-tile 'BMPBOX 0 0 0 0 0 0'
compile test-bad-leg 'ENEMY4 0 0 7 1'
compile test-fault-after-good-records $'ROUNDRANGE 30 30\nENERGY 1 1\nMYSHIP 0 999'
compile test-other-keywords $'ROUNDRANGE 10 10\n"Rock" 0 0 9 9 1\n"ROCK " 0 0 9 9 1\n"ENEMY6" 1 1 1 1\nGOAL 3 4'
compile test-enemy-speeds $'ENEMY1 1 1 1 33\nENEMY2 1 1 -2 17\nENEMY3 1 1 0 -40'

# Inputs that found faults: a refused record count dumped its header twice; allowances at the
# edges of a Long wrapped the timer; the largest ranges, a negative count and fast enemies were
# refused although safe; rocks each covering the whole grid exhausted the builder.
compile fault-refused-count-with-data $'!count -1\n!bytes 78 79 7a'
compile fault-allowance-lowest 'ROUNDRANGE 20 15 0 -1 -2147483648'
compile fault-allowance-highest 'ROUNDRANGE 20 15 0 -1 2147483647'
compile fault-largest-range $'ROUNDRANGE 224 226\nMYSHIP 223 225\nGOAL 0 0'
compile fault-negative-count-no-records '!count -7'
compile fault-enemy-speed-extremes $'ROUNDRANGE 20 15\nENEMY1 1 1 2147483647 2147483647\nENEMY2 1 1 -2147483648 2\nENEMY4 1 1 3 -2147483648'
{
    echo 'ROUNDRANGE 215 219'
    for _ in $(seq 32766); do echo 'ROCK 0 0 223 225 1'; done
} > "$work/rocks.txt"
"$tool" compile "$work/rocks.txt" "$corpus/fault-rocks-cover-the-grid.rnd"
