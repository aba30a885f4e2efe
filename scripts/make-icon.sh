#!/bin/sh
# Draws the program's icon (100 x 100 pixels, 256 colours): a start triangle
# over a pulse line, in the colours of the main window.
set -eu
out="$(dirname "$0")/../app/resources/zv-kob.ico"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 100x100 xc:'#000000' \
    -fill none -stroke '#00FF00' -strokewidth 6 -draw "roundrectangle 5,5 94,94 14,14" \
    -stroke none -fill '#00FFFF' -draw "polygon 30,26 30,74 72,50" \
    -fill none -stroke '#FF80FF' -strokewidth 4 \
    -draw "polyline 14,82 34,82 42,70 50,90 58,76 86,76" \
    -colors 256 -type Palette "$tmp/icon.png"
convert "$tmp/icon.png" -colors 256 BMP3:"$tmp/icon.bmp"
convert "$tmp/icon.bmp" -type Palette "$out"
