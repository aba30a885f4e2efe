#!/bin/sh
# Builds ZV-KOB.exe and runs it under wine. Without a display it runs on a
# virtual screen and leaves a screenshot in build/zv-kob-screen.png.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target ZV-KOB
exe=build/windows/app/ZV-KOB.exe
echo "Built $exe"
if [ -n "${DISPLAY:-}" ]; then
    exec build/windows/wine-run.sh "$exe"
fi
echo "No display: running ZV-KOB on a virtual screen; press Ctrl+C to stop it."
winexe=$(build/windows/wine-run.sh winepath -w "$PWD/$exe" 2>/dev/null)
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    build/windows/wine-run.sh explorer /desktop=ZV-KOB,800x500 "$1" &
    sleep 15
    import -window root build/zv-kob-screen.png && echo "Screenshot: build/zv-kob-screen.png"
    wait' sh "$winexe"
