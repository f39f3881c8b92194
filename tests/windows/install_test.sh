#!/usr/bin/env bash
# The installer under Wine and the installed game in a real window: the installer installs
# silently, for the user, with a Start-menu entry and an entry in Apps & features; the game's
# title screen is the headless game's, pixel for pixel; a second start ends at once with status
# 0 while the first plays on; the menu bar opens the about and the help window; Space starts a
# game and the ship flies; Alt+F4 ends it with status 0, and so does Quit, Yes; the uninstaller
# leaves nothing behind (files, shortcut, registry).
source "$(dirname "$0")/lib.sh"

KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vexaro'
SIM="$BUILD/vexaro-sim"
[ -x "$SIM" ] || fail "no $SIM"

# What the installer may touch: every file and folder under C: and every mention of the game in
# the registry. The temporary folder aside: an uninstaller runs from a copy of itself there,
# which Windows removes at the next start.
snapshot() {
    (cd "$WINEPREFIX/drive_c" && find . \( -path './users/*/Temp' -o -path './users/*/AppData/Local/Temp' \) -prune -o -print | sort)
    grep -i vexaro "$WINEPREFIX"/*.reg || true
}

start_display
start_window_manager
INSTDIR="$(win_folder LOCALAPPDATA)/Programs/Vexaro"
# A run that failed half way may have left the game installed: the prefix starts without it.
if [ -f "$INSTDIR/Uninstall.exe" ]; then
    wine "$INSTDIR/Uninstall.exe" /S >>"$WORK/game.log" 2>&1 || true
    wineserver --wait
fi
wineserver --wait
snapshot >"$WORK/before.txt"

# --- Installing -----------------------------------------------------------------------------
status=0
timeout 300 wine "$SETUP" /S >>"$WORK/game.log" 2>&1 || status=$?
[ "$status" = 0 ] || fail "the installer ended with $status"
[ -f "$INSTDIR/vexaro.exe" ] || fail "nothing in $INSTDIR"
[ -f "$INSTDIR/Uninstall.exe" ] || fail "no uninstaller"
# The same folder as the zip's.
unpack_zip "$WORK/zip"
diff <(cd "$GAME_DIR" && find . | sort) <(cd "$INSTDIR" && find . ! -name Uninstall.exe | sort) ||
    fail "the installed folder differs from the zip's"
cmp -s "$GAME_DIR/vexaro.exe" "$INSTDIR/vexaro.exe" || fail "the installed game differs from the zip's"
LINK="$(win_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Vexaro!!.lnk"
[ -f "$LINK" ] || fail "no Start-menu entry"
strings -el "$LINK" | grep -qi 'Programs\\Vexaro\\vexaro.exe' || fail "the Start-menu entry does not start the game"
wine reg query "$KEY" 2>/dev/null | tr -d '\r' >"$WORK/key.txt"
value() { awk -v name="$1" '$1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print }' "$WORK/key.txt"; }
[ "$(value DisplayName)" = 'Vexaro!!' ] || fail "the uninstall entry has no name: $(cat "$WORK/key.txt")"
[ "$(value DisplayVersion)" = 2000.02 ] || fail "the uninstall entry has no version"
[[ "$(value DisplayIcon)" == *'\Programs\Vexaro\vexaro.exe,0' ]] || fail "the uninstall entry has no icon"
[[ "$(value UninstallString)" == *'\Programs\Vexaro\Uninstall.exe"' ]] || fail "no UninstallString"
[[ "$(value QuietUninstallString)" == *'\Uninstall.exe" /S' ]] || fail "no QuietUninstallString"
[ "$(value NoModify)" = 0x1 ] && [ "$(value NoRepair)" = 0x1 ] || fail "the entry offers to modify or repair"
size=$(($(value EstimatedSize)))
[ "$size" -ge $(($(du -sk "$INSTDIR" | cut -f1) / 2)) ] || fail "the estimated size $size KiB is too small"

# --- The installed game -----------------------------------------------------------------------
GAME="$INSTDIR/vexaro.exe"
start_wine_game
find_wine_window
[ "$S" = 1 ] && [ "$w" = 621 ] && [ "$h" = 417 ] || fail "the main window is ${w}x$h, not 621x417"
# The title screen, menu bar included, as the headless game draws it.
"$SIM" --ticks 3000 --shot 2900:"$WORK/sim-title.png" >"$WORK/sim.log" 2>&1 || fail "vexaro-sim: $(cat "$WORK/sim.log")"
title_same() {
    screenshot "$WORK/screen.png"
    convert "$WORK/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$WORK/title.png"
    [ "$(compare -metric AE "$WORK/title.png" "$WORK/sim-title.png" null: 2>&1)" = 0 ]
}
wait_until 20 title_same || {
    cp "$WORK/title.png" "$SHOTS/windows-title-fail.png"
    fail "the title screen differs from the headless game's in $(compare -metric AE "$WORK/title.png" "$WORK/sim-title.png" null: 2>&1) pixels"
}
cp "$WORK/title.png" "$SHOTS/windows-title.png"

# A second start ends by itself, at once and with status 0; the first one goes on.
started=$SECONDS
status=0
timeout 60 wine "$GAME" >>"$WORK/game.log" 2>&1 || status=$?
[ "$status" = 0 ] || fail "the second game ended with $status"
[ $((SECONDS - started)) -le 30 ] || fail "the second game took $((SECONDS - started)) s"
kill -0 "$GAME_PID" || fail "the first game ended too"

# Help, About: the about window, centred on the screen, its top band blue; a click on its
# background closes it.
read -r sw sh <<<"$(xwininfo -root | awk '/Width:/ {w = $NF} /Height:/ {h = $NF} END {print w, h}')"
ax=$(((sw - 414) / 2 + 3))
ay=$(((sh - 255) / 2 + 3))
about_up() { screenshot "$WORK/screen.png" && [ "$(pixel "$WORK/screen.png" $((ax + 5)) $((ay + 5)))" = 0000FF ]; }
about_gone() { ! about_up; }
xdotool windowactivate --sync "$id" 2>/dev/null || true
xdotool key alt+h
sleep 0.5
xdotool key a
wait_until 15 about_up || fail "Help, About showed no about window"
cp "$WORK/screen.png" "$SHOTS/windows-about.png"
xdotool mousemove $((ax + 20)) $((ay + 230)) click 1
wait_until 15 about_gone || fail "a click did not close the about window"

# Help, Contents: the help window with its paper; Escape closes it.
help_window() { xdotool search --onlyvisible --name '^Vexaro!! .' 2>/dev/null | head -1; }
help_up() { [ -n "$(help_window)" ]; }
help_gone() { [ -z "$(help_window)" ]; }
xdotool windowactivate --sync "$id" 2>/dev/null || true
xdotool key alt+h
sleep 0.5
xdotool key c
wait_until 15 help_up || fail "Help, Contents showed no help window"
sleep 1
screenshot "$SHOTS/windows-help.png"
xdotool windowactivate --sync "$(help_window)" 2>/dev/null || true
xdotool key Escape
wait_until 15 help_gone || fail "Escape did not close the help window"

# Space starts a game: the countdown, then Space held lifts the ship and the playfield moves.
xdotool windowactivate --sync "$id" 2>/dev/null || true
xdotool key space
wait_until 30 counting || fail "Space started no game (no countdown)"
wait_until 30 counted || fail "the countdown did not end"
# The left of the viewport, from top to bottom, away from the ship at its centre.
view() { convert "$1" -crop "200x390+$((x + 5))+$((y + MENU_BAR + 5))" +repage "$2"; }
screenshot "$WORK/before.png"
xdotool keydown space
sleep 0.6
xdotool keyup space
screenshot "$WORK/flying.png"
view "$WORK/before.png" "$WORK/view-before.png"
view "$WORK/flying.png" "$WORK/view-flying.png"
[ "$(compare -metric AE "$WORK/view-before.png" "$WORK/view-flying.png" null: 2>&1)" != 0 ] || {
    cp "$WORK/before.png" "$SHOTS/windows-flight-before-fail.png"
    cp "$WORK/flying.png" "$SHOTS/windows-flight-fail.png"
    fail "the playfield did not move: the ship does not fly"
}
convert "$WORK/flying.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/windows-flight.png"

# Alt+F4 ends the game with status 0.
xdotool key alt+F4
wait_game 60
[ "$GAME_STATUS" = 0 ] || fail "Alt+F4 ended the game with $GAME_STATUS"

# Game, Quit asks; Yes ends the game with status 0.
start_wine_game
find_wine_window
boxes() { xdotool search --onlyvisible --name '^Vexaro!!$' 2>/dev/null | grep -vx "$id" || true; }
box_up() { [ -n "$(boxes)" ]; }
xdotool key alt+g
sleep 0.5
xdotool key x
wait_until 15 box_up || fail "Game, Quit asked nothing"
xdotool key Return
wait_game 60
[ "$GAME_STATUS" = 0 ] || fail "Quit, Yes ended the game with $GAME_STATUS"

# --- Uninstalling -----------------------------------------------------------------------------
status=0
timeout 300 wine "$INSTDIR/Uninstall.exe" /S >>"$WORK/game.log" 2>&1 || status=$?
[ "$status" = 0 ] || fail "the uninstaller ended with $status"
wineserver --wait # it goes on from a copy of itself
[ ! -e "$INSTDIR" ] || fail "the uninstaller left $(find "$INSTDIR" | head -5)"
[ ! -e "$LINK" ] || fail "the uninstaller left the Start-menu entry"
! wine reg query "$KEY" >/dev/null 2>&1 || fail "the uninstaller left the uninstall entry"
snapshot >"$WORK/after.txt"
diff "$WORK/before.txt" "$WORK/after.txt" >&2 ||
    fail "the uninstaller did not leave the prefix as it was: $(diff "$WORK/before.txt" "$WORK/after.txt" | head -5)"
echo "install: silent install, title as headless, second start, about, help, flight, Alt+F4, Quit, clean uninstall: ok"
