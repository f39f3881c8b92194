#!/usr/bin/env bash
# Fuzzes the round file reader for a while, both kinds of input in turn:
#   tests/fuzz/run-fuzz.sh BUILD SECONDS        each kind for SECONDS
#   tests/fuzz/run-fuzz.sh BUILD merge          the new inputs worth keeping into the corpus
# Small inputs (up to 4 KiB) find faults in the records quickly; large ones (up to 16 MiB, the
# largest file the reader takes) find what only size brings out. Every input must be done
# within 2 seconds. New inputs go to scratch folders in the build tree; `merge` keeps those that
# reach code the committed corpus does not.
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
fuzzer=$build/tests/fuzz/round-file-fuzzer
[ -x "$fuzzer" ] || { echo "no fuzzer in $build (clang++ missing?)" >&2; exit 1; }
scratch=$build/tests/fuzz/scratch
mkdir -p "$scratch/small" "$scratch/large"

if [ "$2" = merge ]; then
    exec "$fuzzer" -merge=1 "$here/corpus" "$scratch/small" "$scratch/large" \
        -max_len=16777216 -timeout=2 -artifact_prefix="$build/tests/fuzz/"
fi

run() { # KIND MAX_LEN SECONDS [OPTION...]
    echo "== $1 inputs, up to $2 bytes, for $3 s"
    "$fuzzer" "$scratch/$1" "$here/corpus" "$build/rnd_dat" -dict="$here/round_file.dict" \
        -max_len="$2" -timeout=2 -max_total_time="$3" -print_final_stats=1 \
        -artifact_prefix="$build/tests/fuzz/$1-" "${@:4}"
}
run small 4096 "$2"
# Without length control libFuzzer tries the whole range at once instead of growing the inputs
# slowly from the largest seed.
run large 16777216 "$2" -len_control=0
