#!/bin/sh
# Photographs both windows of the real ZV-KOB.exe under wine for the user's
# guide and writes them to docs/ as PNG. Uses a prefix of its own with wine's
# virtual desktop, so the windows have title bars as on Windows.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target take_screenshots ZV-KOB stand_in_node

out=build/screenshots
mkdir -p "$out"
export ZVKOB_WINEPREFIX="$PWD/$out/wineprefix"
wine=build/windows/wine-run.sh
$wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
$wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
folder=$($wine winepath -w "$PWD/$out")
# The wine session that ran reg and winepath has no screen: end it, so the pictures are
# taken in a new session on the virtual screen.
WINEPREFIX="$ZVKOB_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
WINEPREFIX="$ZVKOB_WINEPREFIX" /usr/lib/wine/wineserver -w 2>/dev/null || true

xvfb-run -a -s "-screen 0 1024x768x24" \
    $wine build/windows/tools/screenshots/take_screenshots.exe "$folder"
for picture in "$out"/*.png.bmp; do
    convert "$picture" -strip -define png:exclude-chunks=date,time "docs/$(basename "$picture" .bmp)"
    rm "$picture"
done
ls -l docs/*.png
