#!/usr/bin/env bash
# Takes docs/screenshot.png: the program on the demo price list under a
# private Xvfb display, after a search, grabbed with ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j2 --target Dorvak
[ -f "$build/src/app/Set.ini" ] || cp demo/Set.ini "$build/src/app/Set.ini"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
trap 'kill "$app" 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1

export DISPLAY=$display
# Croatian separators in the amounts, as on the shop's desktop.
(cd demo && LC_ALL=hr_HR.UTF-8 exec "../$build/src/app/Dorvak") &
app=$!
sleep 2
# Type a search and press Enter through the X server, as a user would
# (XTest through ctypes, so nothing beyond the X libraries is needed).
python3 - "BOS 0986" <<'PY'
import ctypes, sys, time
x = ctypes.CDLL("libX11.so.6"); t = ctypes.CDLL("libXtst.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XStringToKeysym.restype = ctypes.c_ulong
d = ctypes.c_void_p(x.XOpenDisplay(None))
names = {" ": "space"}
def code(name):
    return x.XKeysymToKeycode(d, ctypes.c_ulong(x.XStringToKeysym(name.encode())))
def key(c, down):
    t.XTestFakeKeyEvent(d, c, down, 0); x.XFlush(d); time.sleep(0.03)
def press(name, shift=False):
    if shift: key(code("Shift_L"), 1)
    key(code(name), 1); key(code(name), 0)
    if shift: key(code("Shift_L"), 0)
# No window manager gives the window the focus: let the pointer decide it and
# click into the search box.
x.XSetInputFocus(d, 1, 1, 0)
t.XTestFakeMotionEvent(d, -1, 105 + 250, 47 + 140, 0)
for down in (1, 0):
    t.XTestFakeButtonEvent(d, 1, down, 0); x.XFlush(d); time.sleep(0.1)
for ch in sys.argv[1]:
    press(names.get(ch, ch.lower()), ch.isupper())
press("Return"); time.sleep(0.5)
for name in ("Tab", "Tab", "Down", "Down"):
    press(name)
PY
sleep 1
# No window manager runs here, so the window is its client area alone.
import -window root -crop 797x636+105+47 +repage docs/screenshot.png
echo "docs/screenshot.png written"
