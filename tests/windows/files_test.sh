#!/usr/bin/env bash
# The Windows file calls under Wine (tests/windows/files_check.cpp): UTF-8 paths with Japanese
# characters and spaces read, sized and written through the wide calls, every status of the
# reader as on Linux.
source "$(dirname "$0")/lib.sh"

CHECK="$WIN_BUILD/vexaro-files-check.exe"
[ -f "$CHECK" ] || fail "no $CHECK"
mkdir "$WORK/files"
status=0
wine "$CHECK" "$(winepath -w "$WORK/files")" >"$WORK/files.log" 2>&1 || status=$?
cat "$WORK/files.log"
[ "$status" = 0 ] || fail "the file checks failed ($status)"
ls "$WORK/files/ゲーム フォルダ/記録 ファイル.rec" >/dev/null || fail "the file is not under its Unicode name"
