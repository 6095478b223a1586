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
(cd demo && exec "../$build/src/app/Dorvak") &
app=$!
sleep 2
# Type a search and press Enter through the X server, as a user would.
if command -v xdotool >/dev/null; then
  xdotool type --delay 50 "BOS 0986"
  xdotool key Return
  sleep 1
fi
# No window manager runs here, so the window is its client area alone.
import -window root -crop 797x636+105+47 docs/screenshot.png
echo "docs/screenshot.png written"
