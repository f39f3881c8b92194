#!/usr/bin/env bash
# The .deb, made from the build folder by CPack: it depends on the libraries the game is linked
# with and on the data it needs (a sound font, the fonts); lintian finds no error in it; its
# menu entry and AppStream data pass their validators; unpacked with dpkg-deb into a folder of
# its own, its launcher starts the game on a display of its own, the title screen shows, and
# closing the window ends the game with status 0.
#   package_test.sh BUILD_DIR SOURCE_DIR
source "$(dirname "$0")/../e2e/lib.sh"

for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli identify; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing (make deps-test)"; exit $SKIP; }
done

cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/cpack" >"$WORK/cpack.log" 2>&1 ||
    fail "CPack made no package: $(cat "$WORK/cpack.log")"
debs=("$WORK"/cpack/vexaro_*.deb)
[ -f "${debs[0]}" ] || fail "no vexaro_*.deb in $(ls "$WORK/cpack")"
deb=${debs[0]}

# Dependencies: from the shared libraries (dpkg-shlibdeps), and the data the game needs.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 libsdl2-image-2.0-0 \
    libfontconfig1 libc6 timgm6mb-soundfont fonts-ipafont-mincho fonts-ipafont-gothic \
    fonts-liberation; do
    grep -qE "(^|[ ,|])$needed( |,|$)" <<<"$depends" || fail "the package does not depend on $needed: $depends"
done

lintian --fail-on error --tag-display-limit 0 "$deb" >"$WORK/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$WORK/lintian.log")"
grep -v 'root privileges' "$WORK/lintian.log" || true # its warnings and notes, for the record

root="$WORK/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/com.example.vexaro.desktop" ||
    fail "the menu entry does not validate"
metainfo="$root/usr/share/metainfo/com.example.vexaro.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$WORK/appstream.log" 2>&1 ||
    fail "the AppStream data does not validate: $(cat "$WORK/appstream.log")"
# Its screenshots are pictures of docs/screenshots/, by name.
shots=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|</\?image>||g; s|.*/||')
[ -n "$shots" ] || fail "the AppStream data names no screenshot"
for name in $shots; do
    [ -f "$SOURCE/docs/screenshots/$name" ] || fail "the screenshot $name is not in docs/screenshots/"
done
for size in 16 32 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/vexaro.png"
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "no ${size}x$size icon"
done
zcat "$root/usr/share/man/man6/vexaro.6.gz" | grep -q '^\.TH VEXARO 6' || fail "no manual page vexaro(6)"
for data in rnd_dat/R1.dat.rnd rnd_dat/R9.dat.rnd wav/dr.mid Help.hlp; do
    [ -f "$root/usr/lib/games/vexaro/$data" ] || fail "$data is not beside the game"
done
[ -L "$root/usr/games/vexaro" ] || fail "the launcher is not a link"

# The unpacked game, from its launcher: it finds its data through the link.
GAME="$root/usr/games/vexaro"
open_game_window
sleep 0.5
screenshot "$WORK/title.png"
check_title_screen "$WORK/title.png" "$x" "$y" "$S"
xdotool key alt+F4
wait_game 30
[ "$GAME_STATUS" = 0 ] || fail "closing the window ended the unpacked game with $GAME_STATUS"
echo "package: $(basename "$deb"), lintian, menu entry, AppStream, unpacked game on its title screen: ok"
