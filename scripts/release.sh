#!/bin/sh
# Builds the distributable ZV-KOB.exe (static, stripped, with icon, version
# information and manifest) and prints its size and SHA-256.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The settings window's credit line shows ZVKOB_CONTACT when set, else its default.
if [ -n "${ZVKOB_CONTACT:-}" ]; then
    cmake --preset release -DZVKOB_CONTACT="$ZVKOB_CONTACT" >/dev/null
else
    cmake --preset release -UZVKOB_CONTACT >/dev/null
fi
cmake --build --preset release --target ZV-KOB
mkdir -p dist
cp build/release/app/ZV-KOB.exe dist/ZV-KOB.exe
size=$(stat -c %s dist/ZV-KOB.exe)
sum=$(sha256sum dist/ZV-KOB.exe | cut -d' ' -f1)
echo "dist/ZV-KOB.exe"
echo "size:    $size bytes"
echo "sha256:  $sum"
