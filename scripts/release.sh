#!/bin/sh
# Builds the distributable ZV-KOB.exe (static, stripped, with icon, version
# information and manifest) and prints its size and SHA-256.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target ZV-KOB
mkdir -p dist
cp build/release/platform/win32/ZV-KOB.exe dist/ZV-KOB.exe
size=$(stat -c %s dist/ZV-KOB.exe)
sum=$(sha256sum dist/ZV-KOB.exe | cut -d' ' -f1)
echo "dist/ZV-KOB.exe"
echo "size:    $size bytes"
echo "sha256:  $sum"
