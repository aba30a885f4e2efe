#!/bin/sh
# Builds everything and runs every test: the native unit tests (with
# AddressSanitizer and UndefinedBehaviorSanitizer), then the Windows build's
# unit, platform and end-to-end tests under wine, three at a time, each with a
# prefix and a virtual screen of its own (cmake/wine-run.sh.in).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset windows
cmake --build --preset windows
ctest --preset windows
