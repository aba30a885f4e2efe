#!/bin/sh
# Photographs ZV-KOB's icon in the notification area with its menu open, on
# wine's virtual desktop, and writes docs/notification-area.png.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target show_notification_area

out=build/screenshots
mkdir -p "$out"
rm -f "$out/ready" "$out/done"
export ZVKOB_WINEPREFIX="$PWD/$out/wineprefix"
wine=build/windows/wine-run.sh
$wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
$wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
folder=$($wine winepath -w "$PWD/$out")
WINEPREFIX="$ZVKOB_WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
WINEPREFIX="$ZVKOB_WINEPREFIX" /usr/lib/wine/wineserver -w 2>/dev/null || true

# The picture is taken from outside while the program holds its menu open.
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
convert "$out/notification-area-screen.png" -gravity SouthEast -crop 340x200+0+0 +repage \
    -strip -define png:exclude-chunks=date,time docs/notification-area.png
ls -l docs/notification-area.png
