#!/bin/sh
# Runs a command with a made-up battery that wine reads as the PC's.
#
#   fake_battery.sh <folder> <command> [<argument>...]
#
# Wine reads the power source from the kernel's power-supply class in sysfs
# on every GetSystemPowerStatus. As root, the command runs in a private mount
# namespace with a tmpfs over /sys/class/power_supply that holds two supplies,
# links into <folder>: AC (type Mains: online) and BAT0 (type Battery: present,
# status, charge_full, charge_now in uAh, current_now in uA, voltage_now in
# uV). They start on mains, charged; a test changes their files while the
# command runs (ZVKOB_FAKE_BATTERY names the folder). Nothing outside the
# command sees them. Without root it exits with 77: the test is skipped.
set -eu
if [ "$(id -u)" -ne 0 ]; then
    echo "fake_battery.sh: a private mount namespace needs root; skipped" >&2
    exit 77
fi
folder=$1
shift
mkdir -p "$folder/AC" "$folder/BAT0"
supply() {
    printf '%s\n' "$3" >"$folder/$1/$2"
}
supply AC type Mains
supply AC online 1
supply BAT0 type Battery
supply BAT0 present 1
supply BAT0 status Full
supply BAT0 charge_full 5000000
supply BAT0 charge_now 5000000
supply BAT0 current_now 0
supply BAT0 voltage_now 12000000
ZVKOB_FAKE_BATTERY=$(cd "$folder" && pwd)
export ZVKOB_FAKE_BATTERY
exec unshare --mount --propagation private sh -c '
    mount -t tmpfs -o size=16k,mode=755 zvkob-power /sys/class/power_supply
    ln -s "$ZVKOB_FAKE_BATTERY/AC" /sys/class/power_supply/AC
    ln -s "$ZVKOB_FAKE_BATTERY/BAT0" /sys/class/power_supply/BAT0
    exec "$@"' fake_battery "$@"
