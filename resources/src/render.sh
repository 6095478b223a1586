#!/bin/sh
# Renders the program's pictures from the sources beside this script into
# resources/ (the icon, the button images, the placeholder logo) and the demo
# logo into demo/. Needs ImageMagick and python3. Run from anywhere.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$(dirname "$here")
demo=$(dirname "$out")/demo
cd "$here"
python3 icon.py
for size in 16 24 32 48; do
  convert -background none -density 384 icon.svg -resize ${size}x${size} "png32:$out/icon-$size.png"
done
for name in button-search button-check button-exit; do
  # Opaque on white: the images have no transparent pixel at all.
  convert -background white $name.svg -flatten -alpha off "png24:$out/$name.png"
done
# Progressive, three components (never greyscale), 21 x 12.
convert -background white placeholder.svg -alpha off -type TrueColor -colorspace sRGB \
  -sampling-factor 1x1 -interlace JPEG -quality 90 "$out/placeholder.jpg"
mkdir -p "$demo"
convert -background white demo-logo.svg -alpha off -type TrueColor -quality 92 "$demo/logo.jpg"
