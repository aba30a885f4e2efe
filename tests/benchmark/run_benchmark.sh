#!/bin/sh
# Runs the watcher benchmark under wine on a virtual screen: the cost of one
# watcher tick, then ZV-KOB's CPU use over a minute of watching, taken from the
# kernel's account of its wine process and of this prefix's wineserver (which
# answers the process queries' requests for the process list).
#   tests/benchmark/run_benchmark.sh [BUILD_DIR] [SECONDS]
# ZVKOB_BENCHMARK_EXE=<Windows path> watches with another ZV-KOB.exe, such as
# the release build: ZVKOB_BENCHMARK_EXE='Z:\path\to\dist\ZV-KOB.exe'.
set -eu
build=$(cd "${1:-build/windows}" && pwd)
seconds=${2:-60}

if [ "${ZVKOB_BENCHMARK_INSIDE:-}" != 1 ]; then
    export ZVKOB_BENCHMARK_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$seconds"
fi

run="$build/wine-run.sh"
bench="$build/tests/benchmark/watcher_tick_benchmark.exe"
prefix="$build/wineprefix"

# resident memory of a process (kB): all of it, and the part no file backs
memory() { awk '/^VmRSS|^RssAnon/ {printf "%s %s kB  ", $1, $2}' "/proc/$1/status"; }

# user + system time of a process, in clock ticks
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

# The wineserver of this prefix works in a folder named after the prefix's
# device and inode.
wineserver_pid() {
    server_dir=$(printf 'server-%x-%x' $(stat -c '%d %i' "$prefix"))
    for pid in $(pgrep wineserver); do
        case "$(readlink "/proc/$pid/cwd")" in
            */"$server_dir") echo "$pid" && return ;;
        esac
    done
    echo "no wineserver for $prefix" >&2
    exit 1
}

"$run" "$bench" ticks 200

out=$(mktemp)
"$run" "$bench" watch $((seconds + 8)) >"$out" 2>&1 &
bench_pid=$!
i=0
until grep -q '^watching' "$out"; do
    i=$((i + 1))
    if [ $i -gt 600 ] || ! kill -0 $bench_pid 2>/dev/null; then
        cat "$out"
        echo "ZV-KOB did not start watching" >&2
        exit 1
    fi
    sleep 0.1
done
zvkob=$(pgrep -f 'ZV-KOB-Benchmark\.exe' | head -n 1)
server=$(wineserver_pid)
hz=$(getconf CLK_TCK)
zvkob_before=$(cpu_ticks "$zvkob")
server_before=$(cpu_ticks "$server")
memory_before=$(memory "$zvkob")
sleep "$seconds"
memory_after=$(memory "$zvkob")
zvkob_used=$(($(cpu_ticks "$zvkob") - zvkob_before))
server_used=$(($(cpu_ticks "$server") - server_before))
wait $bench_pid || true
cat "$out"
rm -f "$out"
echo "ZV-KOB.exe (wine process) memory at the start: $memory_before"
echo "ZV-KOB.exe (wine process) memory after ${seconds} s: $memory_after"
awk -v z="$zvkob_used" -v s="$server_used" -v hz="$hz" -v t="$seconds" 'BEGIN {
    printf "ZV-KOB.exe (wine process), %d s of watching: %.2f s of CPU = %.2f%% of one core\n", t, z / hz, 100 * z / hz / t
    printf "wineserver of this prefix, same %d s: %.2f s of CPU = %.2f%% of one core\n", t, s / hz, 100 * s / hz / t
}'
