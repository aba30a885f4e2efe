#!/bin/sh
# Runs the watcher benchmark under wine on a virtual screen: the cost of one
# watcher tick; then ZV-KOB and the bare watcher (a bare Win32 program doing
# the same two process queries every 500 ms), each watching for a minute,
# their memory and CPU taken from the kernel's account of their wine process
# and of this prefix's wineserver (which answers the process queries'
# requests for the process list), and ZV-KOB's CPU beside the bare watcher's;
# then the time from process start to the
# window shown, for each of the two in turns; then ZV-KOB following a node
# that writes 100 UpdateTip lines a second, for a minute with Show the Node's
# Progress on and for one with it off. The part "rpc" (asked for by name)
# follows that node serving RPC with its progress on: asked by ZV-KOB, then
# with its RPC off. The part "start-shaped" (asked for by name) times the
# starts of ZV-KOB and of the shaped watcher in turns: the bare watcher in
# ZV-KOB's shape, with its manifest and its main window's controls.
#   tests/benchmark/run_benchmark.sh [BUILD_DIR] [SECONDS] [STARTS] [PARTS]
# PARTS picks some of "ticks watch start start-shaped progress rpc every-tick" ("ticks
# watch start progress" by default).
# ZVKOB_BENCHMARK_EXE=<Windows path> watches with another ZV-KOB.exe, such as
# the release build: ZVKOB_BENCHMARK_EXE='Z:\path\to\dist\ZV-KOB.exe'.
set -eu
build=$(cd "${1:-build/windows}" && pwd)
seconds=${2:-60}
starts=${3:-10}
parts=${4:-ticks watch start progress}

if [ "${ZVKOB_BENCHMARK_INSIDE:-}" != 1 ]; then
    export ZVKOB_BENCHMARK_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$seconds" "$starts" "$parts"
fi

run="$build/wine-run.sh"
bench="$build/tests/benchmark/watcher_tick_benchmark.exe"
prefix="$build/wineprefix"

# resident memory of a process (kB): all of it, and the part no file backs
memory() { awk '/^VmRSS|^RssAnon/ {printf "%s %s kB  ", $1, $2}' "/proc/$1/status"; }
private_kb() { awk '/^RssAnon/ {print $2}' "/proc/$1/status"; }

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

# watch MODE IMAGE_PATTERN: one program watching for $seconds; its RssAnon
# at the start and at the end, and the CPU ticks of its wine process and of
# the wineserver, go to the file $out.kb
watch() {
    out=$(mktemp)
    "$run" "$bench" "$1" $((seconds + 8)) >"$out" 2>&1 &
    bench_pid=$!
    i=0
    until grep -q '^watching' "$out"; do
        i=$((i + 1))
        if [ $i -gt 600 ] || ! kill -0 $bench_pid 2>/dev/null; then
            cat "$out"
            echo "the program did not start watching" >&2
            exit 1
        fi
        sleep 0.1
    done
    watched=$(pgrep -f "$2" | head -n 1)
    server=$(wineserver_pid)
    hz=$(getconf CLK_TCK)
    watched_before=$(cpu_ticks "$watched")
    server_before=$(cpu_ticks "$server")
    memory_before=$(memory "$watched")
    watched_kb_before=$(private_kb "$watched")
    sleep "$seconds"
    memory_after=$(memory "$watched")
    watched_kb_after=$(private_kb "$watched")
    watched_used=$(($(cpu_ticks "$watched") - watched_before))
    server_used=$(($(cpu_ticks "$server") - server_before))
    echo "$watched_kb_before $watched_kb_after $watched_used $server_used" >"$out.kb"
    wait $bench_pid || true
    cat "$out"
    rm -f "$out"
    echo "wine process memory at the start: $memory_before"
    echo "wine process memory after ${seconds} s: $memory_after"
    awk -v z="$watched_used" -v s="$server_used" -v hz="$hz" -v t="$seconds" 'BEGIN {
        printf "wine process, %d s of watching: %.2f s of CPU = %.2f%% of one core\n", t, z / hz, 100 * z / hz / t
        printf "wineserver of this prefix, same %d s: %.2f s of CPU = %.2f%% of one core\n", t, s / hz, 100 * s / hz / t
    }'
}

has() { case " $parts " in *" $1 "*) true ;; *) false ;; esac; }

if has ticks; then
    "$run" "$bench" ticks 200
fi

if has watch; then
    echo
    watch watch 'ZV-KOB-Benchmark\.exe'
    read -r _ zv_kob_kb zv_kob_cpu zv_kob_server <"$out.kb" && rm -f "$out.kb"
    echo
    watch watch-bare 'bare_watcher\.exe'
    read -r _ bare_kb bare_cpu bare_server <"$out.kb" && rm -f "$out.kb"
    echo
    awk -v z="$zv_kob_kb" -v b="$bare_kb" -v t="$seconds" 'BEGIN {
        printf "private memory (RssAnon) after %d s: ZV-KOB %d kB, bare watcher %d kB: %.2f x\n", t, z, b, z / b
    }'
    # One program running and one missing: while nothing changes, a tick is
    # the two queries, and ZV-KOB should cost at most 1.10 x the bare watcher.
    awk -v z="$zv_kob_cpu" -v b="$bare_cpu" -v zs="$zv_kob_server" -v bs="$bare_server" 'BEGIN {
        if (b == 0) { print "the bare watcher used no CPU that could be measured"; exit }
        printf "CPU over the same time, ZV-KOB / bare watcher: wine process %.2f x; with the wineserver %.2f x (at most 1.10 x is the aim)\n", z / b, (z + zs) / (b + bs)
    }'
fi

if has start; then
    echo
    "$run" "$bench" start "$starts"
fi

if has start-shaped; then
    echo
    "$run" "$bench" start-shaped "$starts"
fi

if has progress; then
    echo
    watch progress-on 'ZV-KOB-Benchmark\.exe'
    read -r on_before on_after on_cpu on_server <"$out.kb" && rm -f "$out.kb"
    echo
    watch progress-off 'ZV-KOB-Benchmark\.exe'
    read -r off_before off_after off_cpu off_server <"$out.kb" && rm -f "$out.kb"
    echo
    awk -v a="$on_cpu" -v b="$off_cpu" -v sa="$on_server" -v sb="$off_server" 'BEGIN {
        printf "CPU with the node'"'"'s progress on / off: wine process %.2f x; with the wineserver %.2f x\n", a / b, (a + sa) / (b + sb)
    }'
    echo "private memory (RssAnon) with it on: $on_before kB at the start, $on_after kB at the end: $((on_after - on_before)) kB more"
    echo "private memory (RssAnon) with it off: $off_before kB at the start, $off_after kB at the end: $((off_after - off_before)) kB more"
fi

# Where the private memory goes with the guarding ticks: the node followed
# over its RPC with Show the Node's Progress alone, then with each other
# guarding tick added alone, then with all of them.
if has every-tick; then
    all="KEEP_NODE_RUNNING,SAFE_SIGN_OUT,CHECK_DATA_DRIVE,NOTIFICATION_AREA,KEEP_AWAKE,BATTERY_STOP,NODE_LOW_PRIORITY,METERED_PAUSE"
    for ticks in "" $(echo "$all" | tr ',' ' ') "$all"; do
        echo
        export ZVKOB_BENCHMARK_TICKS="$ticks"
        watch ticks-on 'ZV-KOB-Benchmark\.exe' >/dev/null
        read -r kb_before kb_after cpu server <"$out.kb" && rm -f "$out.kb"
        echo "Show the Node's Progress${ticks:+ and $ticks}: private memory (RssAnon) $kb_before kB at the start, $kb_after kB after ${seconds} s; CPU $cpu ticks"
    done
fi

if has rpc; then
    echo
    watch rpc-on 'ZV-KOB-Benchmark\.exe'
    read -r on_before on_after on_cpu on_server <"$out.kb" && rm -f "$out.kb"
    echo
    watch rpc-off 'ZV-KOB-Benchmark\.exe'
    read -r off_before off_after off_cpu off_server <"$out.kb" && rm -f "$out.kb"
    echo
    awk -v a="$on_cpu" -v b="$off_cpu" -v sa="$on_server" -v sb="$off_server" 'BEGIN {
        printf "CPU with the node'"'"'s RPC asked / off: wine process %.2f x; with the wineserver %.2f x (at most 1.05 x is the aim)\n", a / b, (a + sa) / (b + sb)
    }'
    echo "private memory (RssAnon) at the end: RPC asked $on_after kB, RPC off $off_after kB: $((on_after - off_after)) kB more (at most 512 is the aim)"
fi
