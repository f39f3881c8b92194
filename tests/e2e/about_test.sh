#!/usr/bin/env bash
# The about window on a real display: Help, About opens it modal over the main window; the
# pointer becomes the hand over a link; a link the desktop cannot open brings the game's
# message box, one it can open does not; a click on the background closes the window.
source "$(dirname "$0")/lib.sh"

# The desktop's opener, played by a script: it fails while $WORK/refuse exists.
mkdir "$WORK/bin"
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n[ ! -e "%s/refuse" ]\n' "$WORK" "$WORK" >"$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

open_game_window

about_windows() { unnamed_windows | grep " $((408 * S))x$((249 * S))+" || true; }
about_up() { [ -n "$(about_windows)" ]; }
about_gone() { [ -z "$(about_windows)" ]; }
boxes() { xdotool search --onlyvisible --name '^Vexaro!!$' 2>/dev/null | grep -vx "$id" || true; }
box_up() { [ -n "$(boxes)" ]; }
box_gone() { [ -z "$(boxes)" ]; }

xdotool key alt+h
sleep 0.3
xdotool key a
wait_until 10 about_up || fail "Help, About showed no window"
# Centred on the screen like the splash; a point of it by its own pixels.
ax=$(((1280 - 408 * S) / 2))
ay=$(((1024 - 249 * S) / 2))
here() { echo $((ax + $1 * S + S / 2)) $((ay + $2 * S + S / 2)); }

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

# A click on the background closes the about window; the game goes on.
xdotool mousemove $(here 300 100) click 1
wait_until 10 about_gone || fail "a click on the background left the about window up"
kill -0 "$GAME_PID" || fail "the game ended"
echo "about: modal window, hand pointer, links opened and refused, closing click: ok"
