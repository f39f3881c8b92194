#!/usr/bin/env bash
# What the Windows build ships, read without running it: vexaro.exe is a 64-bit window program
# (no console) that needs no DLL beyond Windows' own, carries the game's icon in every size, its
# version and a manifest that makes it DPI-aware per monitor (Windows never stretches it: the
# game enlarges itself by whole factors, see the WindowScale unit tests) with UTF-8 as its code
# page; the zip holds the folder the game expects; the installer asks for no administrator.
source "$(dirname "$0")/lib.sh"

PE_INFO="$(dirname "$0")/pe_info.py"
unpack_zip "$WORK/zip"
python3 "$PE_INFO" "$GAME" >"$WORK/exe.txt" || fail "cannot read $GAME: $(cat "$WORK/exe.txt")"
cat "$WORK/exe.txt" >&2

has() { grep -qxF "$1" "$WORK/exe.txt" || fail "vexaro.exe: no \"$1\""; }
has "subsystem 2"
# Windows' own DLLs only: no C++ runtime, no winpthread, no SDL beside the game.
system_dlls='^(kernel32|user32|gdi32|winmm|imm32|ole32|oleaut32|version|setupapi|shell32|advapi32|msvcrt|cfgmgr32|hid|dinput8|xinput1_4|rpcrt4|comdlg32|usp10)\.dll$'
while read -r _ dll; do
    [[ ${dll,,} =~ $system_dlls ]] || fail "vexaro.exe needs $dll, which Windows does not bring"
done < <(grep '^dll ' "$WORK/exe.txt")
for size in 16 32 48 64 128 256; do has "icon ${size}x$size"; done
has "version ProductName=Vexaro!!"
has "version FileVersion=2000.02"
has "version OriginalFilename=vexaro.exe"
grep -q '^manifest .*<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>' "$WORK/exe.txt" ||
    fail "the manifest does not make the game DPI-aware per monitor"
grep -q '^manifest .*<activeCodePage[^>]*>UTF-8</activeCodePage>' "$WORK/exe.txt" ||
    fail "the manifest does not ask for UTF-8"
grep -q '^manifest .*level="asInvoker"' "$WORK/exe.txt" || fail "the game asks for more than the player's rights"

# The folder: the game, its data beside it, the fonts the game letters with, the licences.
cd "$GAME_DIR"
for file in vexaro.exe Help.hlp Readme.txt rnd_dat/R{1..9}.dat.rnd fonts/ipamp.ttf fonts/ipagp.ttf \
    fonts/LiberationSerif-{Regular,Bold,Italic,BoldItalic}.ttf; do
    [ -s "$file" ] || fail "the zip has no $file"
done
for sound in "$SOURCE"/assets/wav/*; do
    name=$(basename "$sound")
    cmp -s "$sound" "wav/$name" || fail "the zip's wav/$name differs from the game's"
    [[ $name != *.mid ]] || [ -s "wav/${name%.mid}.ogg" ] || fail "no rendered tune for $name"
done
cmp -s "$BUILD/rnd_dat/R1.dat.rnd" rnd_dat/R1.dat.rnd || fail "the zip's rounds differ from the Linux build's"
for licence in Vexaro SDL2 SDL2_image SDL2_ttf SDL2_mixer FreeType HarfBuzz IPA-fonts Liberation-fonts \
    TimGM6mb-soundfont MinGW-w64-runtime GCC-runtime; do
    [ -s "licences/$licence.txt" ] || fail "no licence of $licence"
done
grep -qi 'stb' licences/SDL2_image.txt licences/SDL2_mixer.txt || fail "stb's licence is missing"
extra=$(find . -type f | grep -vE '^\./(vexaro\.exe|Help\.hlp|Readme\.txt|rnd_dat/R[0-9]\.dat\.rnd|wav/[^/]+|fonts/[^/]+\.ttf|licences/[^/]+\.txt)$' || true)
[ -z "$extra" ] || fail "the zip holds more than the game's folder: $extra"

# The installer: 64-bit, for the player's own rights.
python3 "$PE_INFO" "$SETUP" >"$WORK/setup.txt" || fail "cannot read $SETUP"
grep -q '^manifest .*level="asInvoker"' "$WORK/setup.txt" || fail "the installer asks for administrator rights"
grep -qxF "version ProductVersion=2000.02" "$WORK/setup.txt" || fail "the installer has no version"
echo "executable: window program, Windows' DLLs only, icon, version, manifest; zip and installer laid out: ok"
