#!/usr/bin/env bash
# The about window on a real display: Help, About opens it modal over the main window, in the
# fixed dialog frame around its client area; the pointer becomes the hand over a link; a link
# the desktop cannot open brings the game's message box, one it can open does not; a click on
# the frame does nothing, a click on the background closes the window.
source "$(dirname "$0")/lib.sh"

# The desktop's opener, played by a script: it fails while $WORK/refuse exists.
mkdir "$WORK/bin"
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n[ ! -e "%s/refuse" ]\n' "$WORK" "$WORK" >"$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

open_game_window

# The client area of 408 x 249 pixels in a frame of 3 on every side.
about_windows() { unnamed_windows | grep " $((414 * S))x$((255 * S))+" || true; }
about_up() { [ -n "$(about_windows)" ]; }
about_gone() { [ -z "$(about_windows)" ]; }
boxes() { xdotool search --onlyvisible --name '^Vexaro!!$' 2>/dev/null | grep -vx "$id" || true; }
box_up() { [ -n "$(boxes)" ]; }
box_gone() { [ -z "$(boxes)" ]; }

xdotool key alt+h
sleep 0.3
xdotool key a
wait_until 10 about_up || fail "Help, About showed no window"
# Centred on the screen like the splash; a point of it by its own pixels, frame included, and a
# point of its client area.
wx=$(((1280 - 414 * S) / 2))
wy=$(((1024 - 255 * S) / 2))
frame_at() { echo $((wx + $1 * S + S / 2)) $((wy + $2 * S + S / 2)); }
here() { frame_at $((3 + $1)) $((3 + $2)); }

# The frame: the classic raised edge in the menu bar's colours, one ring of grey face inside it.
# The client area keeps its picture: the top band's blue at its corners.
frame_drawn() {
    screenshot "$WORK/about.png"
    local point
    got=""
    for point in "0 0" "1 1" "2 2" "413 254" "412 253" "411 252" "206 0" "206 1" "0 127" "413 127" \
        "3 3" "410 3"; do
        got+="$(pixel "$WORK/about.png" $(frame_at $point)) "
    done
    want="D4D0C8 FFFFFF D4D0C8 404040 808080 D4D0C8 D4D0C8 FFFFFF D4D0C8 404040 0000FF 0000FF "
    [ "$got" = "$want" ]
}
wait_until 10 frame_drawn || fail "the frame is $got, not $want"
convert "$WORK/about.png" -crop "${w}x${h}+${x}+${y}" +repage "$SHOTS/about.png"

# The web link (152, 164, 226 x 16): the hand with its hot spot (12, 1), enlarged.
xdotool mousemove $(here 160 170)
if command -v python3 >/dev/null; then
    cursor() {
        python3 - <<'PY'
import ctypes
x11 = ctypes.CDLL("libX11.so.6"); xf = ctypes.CDLL("libXfixes.so.3")
class Image(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort)]
x11.XOpenDisplay.restype = ctypes.c_void_p
xf.XFixesGetCursorImage.restype = ctypes.POINTER(Image)
xf.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
i = xf.XFixesGetCursorImage(x11.XOpenDisplay(None)).contents
print(i.width, i.height, i.xhot, i.yhot)
PY
    }
    hand() { [ "$(cursor)" = "$((32 * S)) $((32 * S)) $((12 * S)) $((1 * S))" ]; }
    not_hand() { ! hand; }
    wait_until 5 hand || fail "no hand over the link: $(cursor)"
    xdotool mousemove $(here 300 100)
    wait_until 5 not_hand || fail "the hand stayed over the background"
    xdotool mousemove $(here 160 170)
    wait_until 5 hand || fail "no hand over the link the second time"
fi

# The desktop can open it: the link's text reaches the opener, and nothing else shows.
xdotool click 1
wait_until 10 test -s "$WORK/opened" || fail "the link never reached the opener"
grep -qx 'https://.*' "$WORK/opened" || fail "the opener got $(cat "$WORK/opened")"
sleep 0.5
box_gone || fail "a message box although the link was opened"
about_up || fail "the about window closed on a link"

# It cannot: the game's message box; Enter closes it, the about window stays.
touch "$WORK/refuse"
xdotool click 1
wait_until 10 box_up || fail "no message box for a link nobody opens"
xdotool key Return
wait_until 10 box_gone || fail "Enter did not close the message box"
about_up || fail "the about window went with the message box"

# A click on the frame is no click on the window; a click on the background closes it, and the
# game goes on.
xdotool mousemove $(frame_at 1 100) click 1
sleep 0.5
about_up || fail "a click on the frame closed the about window"
xdotool mousemove $(here 300 100) click 1
wait_until 10 about_gone || fail "a click on the background left the about window up"
kill -0 "$GAME_PID" || fail "the game ended"
echo "about: modal window in its frame, hand pointer, links opened and refused, closing click: ok"
