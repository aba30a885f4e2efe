#!/bin/sh
# Installs what building and testing ZV-KOB needs on Debian 12 (run as root).
# Does nothing when everything is already there.
set -eu
# unshare and mount give wine a made-up battery (tests/support/fake_battery.sh);
# litecoind (with litecoin-cli) is the real node of tests/e2e/real_node_e2e_test.cpp.
packages="cmake make g++ googletest libgtest-dev libgmock-dev mingw-w64 wine wine64 xvfb xauth imagemagick xdotool rapidjson-dev util-linux mount litecoind"
missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# shellcheck disable=SC2086
apt-get install -y -q $missing
