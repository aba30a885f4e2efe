#!/bin/sh
# Traces one watcher tick of a unit test through the program's own files.
# usage: tick_trace.sh SOURCE_DIR BUILD_DIR GTEST_FILTER N [units]
# Example (the fifth tick of this test is a crash that Keep Node Running restarts):
#   tools/tick_trace/tick_trace.sh . /tmp/trace \
#     KeepNodeRunning.ACleanStopIsLeftAloneAndACrashIsRestartedThroughTheCountdown 5
set -e
src=$(realpath "$1") build=$2 filter=$3 n=$4 units=$5
here=$(dirname "$(realpath "$0")")
mkdir -p "$build"
gcc -O1 -c "$here/hooks.c" -o "$build/hooks.o"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DZVKOB_SANITIZE=OFF \
    -DCMAKE_CXX_FLAGS="-finstrument-functions -finstrument-functions-exclude-file-list=/usr/" \
    -DCMAKE_EXE_LINKER_FLAGS="$build/hooks.o -no-pie" -DCMAKE_POSITION_INDEPENDENT_CODE=OFF >/dev/null
cmake --build "$build" --target zvkob_unit_tests -j2 >/dev/null
TICK_TRACE_FILE="$build/trace.bin" "$build/tests/unit/zvkob_unit_tests" --gtest_filter="$filter" >/dev/null
python3 "$here/tick_trace.py" "$build/tests/unit/zvkob_unit_tests" "$build/trace.bin" "$n" $units
