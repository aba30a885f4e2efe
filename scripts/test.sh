#!/bin/sh
# Builds everything and runs every test: the native unit tests (with
# AddressSanitizer and UndefinedBehaviorSanitizer), then the Windows build's
# unit, platform and end-to-end tests under wine on a virtual screen.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset windows
cmake --build --preset windows
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows
