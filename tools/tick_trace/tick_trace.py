#!/usr/bin/env python3
"""The files one watcher tick passes through, in order.

Reads the trace hooks.c wrote, resolves each function with addr2line, takes
the n-th call of process_watcher_tick from its entry to its exit, and follows
where control is after each entry and exit: the innermost function of the
program's own files (main_window/, guardian/, core/, platform/). Consecutive repeats are
collapsed; a "return" is a file seen again after the tick had left it.
With "units", only the source files of the main window and the guardian count: what a header
defines (accessors, small inline helpers) counts as its caller's file.

usage: tick_trace.py BINARY TRACE N [units]
"""
import struct
import subprocess
import sys

OWN = ("main_window/", "guardian/", "core/", "platform/")


def resolve(binary, addresses):
    out = subprocess.run(["addr2line", "-f", "-C", "-e", binary] + [hex(a) for a in addresses],
                         capture_output=True, text=True, check=True).stdout.splitlines()
    names = {}
    for i, address in enumerate(addresses):
        function, place = out[2 * i], out[2 * i + 1].split(":")[0]
        own = next((place[place.rfind(d):] for d in OWN if d in place), None)
        names[address] = (function, own)
    return names


def unit_of(path):
    return path if path.startswith(("main_window/", "guardian/")) and path.endswith(".cpp") else None


def main(binary, trace_path, n, units=False):
    data = open(trace_path, "rb").read()
    words = struct.unpack("<%dQ" % (len(data) // 8), data)
    names = resolve(binary, sorted({w & ~(1 << 63) for w in words}))
    calls, start = 0, None
    for i, w in enumerate(words):
        if not w >> 63 and names[w][0].startswith("zvkob::process_watcher_tick"):
            calls += 1
            if calls == n:
                start = i
                break
    stack, files = [], []
    for w in words[start:]:
        address, leaving = w & ~(1 << 63), bool(w >> 63)
        if leaving:
            stack.pop()
        else:
            own = names[address][1]
            stack.append(unit_of(own) if units and own else own)
        here = next((f for f in reversed(stack) if f), None)
        if here and (not files or files[-1] != here):
            files.append(here)
        if not stack:
            break
    returns = sum(1 for i, f in enumerate(files) if f in files[:i])
    print(" -> ".join(files))
    print("%d files, %d returns to a file it had left" % (len(set(files)), returns))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4:] == ["units"])
