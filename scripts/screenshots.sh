#!/bin/sh
# Photographs both windows of the real ZV-KOB.exe under wine for the user's
# guide, and its icon in the notification area with the icon's menu open, and
# writes them to docs/ as PNG. Uses a prefix of its own with wine's virtual
# desktop, so the windows have title bars and a taskbar as on Windows.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target take_screenshots show_notification_area ZV-KOB stand_in_node

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

# The icon's menu is photographed from outside while the tool holds it open.
rm -f "$out/ready" "$out/done"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$1" build/windows/tools/screenshots/show_notification_area.exe "$2" &
    shown=$!
    tries=0
    until [ -f "$3/ready" ] || [ $tries -ge 300 ]; do sleep 0.1; tries=$((tries + 1)); done
    [ -f "$3/ready" ] && import -window root "$3/notification-area-screen.png"
    touch "$3/done"
    wait $shown
' sh "$wine" "$folder" "$out"
# The bottom-right corner, where the taskbar keeps the icon.
convert "$out/notification-area-screen.png" -gravity SouthEast -crop 340x240+0+0 +repage \
    -strip -define png:exclude-chunks=date,time docs/notification-area.png
ls -l docs/*.png
