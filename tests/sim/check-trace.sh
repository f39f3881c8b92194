#!/usr/bin/env bash
# Runs vexaro-sim and checks what its trace and exit status show.
#   check-trace.sh SIM SCRIPT CASE
set -euo pipefail
sim=$1 script=$2 case=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
count() { grep -c "$1" "$work/trace.jsonl" || true; }

case $case in
game-over)
    "$sim" --script "$script" --until idle --trace "$work/trace.jsonl"
    [ "$(count '"ev":"message","n":4')" = 4 ] || fail "four attempts expected"
    [ "$(count '"ev":"message","n":2')" = 1 ] || fail "one game over banner expected"
    [ "$(count '"ev":"explode","k":0')" = 4 ] || fail "four explosions expected"
    tail -n 1 "$work/trace.jsonl" | grep -q '"ev":"mode","from":4,"to":0' || fail "the game ends in mode 0"
    ;;
ending-from-round-9)
    "$sim" --round 9 --script "$script" --until idle --trace "$work/trace.jsonl"
    [ "$(count '"ev":"mode","from":1,"to":8')" = 1 ] || fail "round 9 is cleared once"
    [ "$(count '"ev":"mode","from":1,"to":4')" = 0 ] || fail "no crash"
    [ "$(count '"ev":"ending"')" = 1 ] || fail "the ending plays"
    tail -n 1 "$work/trace.jsonl" | grep -q '"ev":"mode","from":1,"to":0' || fail "the ending leaves mode 0"
    ;;
title-shot)
    "$sim" --ticks 1500 --shot "1400:$work/title.png" --trace "$work/trace.jsonl"
    [ -s "$work/title.png" ] || fail "no picture written"
    [ "$(count '"form":"fMain","do":"show"')" = 1 ] || fail "the main window is shown"
    ;;
about-again)
    # Shown modally, closed, shown and closed again with a game between: the process must end
    # cleanly (under the sanitizers, with nothing read after it was freed).
    printf '%s\n' '1100 menu mHelpAbout' '1200 tap space' '3000 click fAbout' \
        '6000 menu mHelpAbout' '6500 click fAbout' > "$work/about.txt"
    "$sim" --script "$work/about.txt" --ticks 8000 --trace "$work/trace.jsonl"
    [ "$(count '"form":"fAbout","do":"show-modal"')" = 2 ] || fail "shown modally twice"
    [ "$(count '"form":"fAbout","do":"unload"')" = 3 ] || fail "splash and two showings closed"
    ;;
bad-arguments)
    set +e
    "$sim" --dpi nonsense 2> "$work/err"; status=$?
    [ $status = 2 ] || fail "bad argument: status $status"
    printf '100 jump space\n' > "$work/bad.txt"
    "$sim" --script "$work/bad.txt" 2> "$work/err2"; status=$?
    [ $status = 2 ] || fail "bad script: status $status"
    grep -q "line 1" "$work/err2" || fail "the bad line is named"
    [ "$(wc -l < "$work/err2")" = 1 ] || fail "one line of message"
    ;;
*)
    fail "unknown case $case"
    ;;
esac
echo "ok: $case"
