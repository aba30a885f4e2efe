#!/usr/bin/env python3
"""Puts one small fault at a time into the rule files and runs the unit tests.

Each fault is the kind a slip of the keyboard makes: a comparison moved by one
(>= to >, < to <=), == and != swapped, && and || swapped, a ! dropped, a whole
number moved by one, true and false swapped, one branch never taken, or one
assignment or call left out. A fault that no test notices survives and is listed.

It works on a copy of the sources (so an interrupted run leaves the tree as it
was), built without sanitizers for speed:

    tools/mutants/mutants.py guardian/restart_history.cpp core/time_text.cpp
    tools/mutants/mutants.py --list core/time_text.cpp      # the faults only
    tools/mutants/mutants.py --again last-run.txt           # what survived or did not build
    tools/mutants/mutants.py @tools/mutants/rule_files.txt  # every rule file (an hour or two)
    tools/mutants/mutants.py --simulation 300 core/power/power_stop_rule.cpp
                       # what the unit tests miss is played through 300 simulated sequences

The copy is refreshed from the tree at each run; its build is kept for the next.
Stopped with Ctrl+C, it puts the file back; killed outright, remove the copy.
"""
import argparse
import filecmp
import os
import re
import shutil
import subprocess
import sys
import time

TREE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WORK = os.environ.get("ZVKOB_MUTANTS_DIR", "/tmp/zvkob-mutants")
SOURCES = os.path.join(WORK, "src")
BUILD = os.path.join(WORK, "build")
TESTS = os.path.join(BUILD, "tests", "unit", "zvkob_unit_tests")
SIMULATION = os.path.join(BUILD, "tests", "simulation", "zvkob_simulation_tests")

SWAPS = [(" >= ", " > "), (" > ", " >= "), (" <= ", " < "), (" < ", " <= "),
         (" == ", " != "), (" != ", " == "), (" && ", " || "), (" || ", " && "),
         ("true", "false"), ("false", "true")]
NUMBER = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
NOT = re.compile(r"!(?=[\w(*])")
# A statement that changes state on its own: an assignment, ++/--, or a call
# of a member that clears, resets, forgets or records.
# A condition on one line, for the fault that drops the branch it guards.
CONDITION = re.compile(r"^(\s*(?:\} else )?if \()(?!const |auto )(.*)(\) \{)$")
DROPPABLE = re.compile(r"^\s*(\+\+\w|--\w|[\w.\->\[\]*]+ [-+|&]?= [^=]|[\w.\->]+\.(clear|reset|"
                       r"forget|erase|push_back|emplace_back|hand_back|set_\w+)\(.*\);\s*$)")


def code_spans(line):
    """The parts of a line outside strings, characters and comments: (start, end)."""
    spans, start, at, quote = [], 0, 0, None
    while at < len(line):
        c = line[at]
        if quote:
            if c == "\\":
                at += 1
            elif c == quote:
                quote, start = None, at + 1
        elif c in "\"'":
            if c == "'" and at > 0 and line[at - 1].isdigit():  # 1'000 is a number
                at += 1
                continue
            spans.append((start, at))
            quote = c
        elif line.startswith("//", at):
            spans.append((start, at))
            return spans
        at += 1
    if not quote:
        spans.append((start, len(line)))
    return spans


def faults(path):
    """Every fault of a file: (line number, new line, what changed)."""
    found = []
    with open(path, encoding="utf-8") as source:
        lines = source.read().split("\n")
    for number, line in enumerate(lines, 1):
        stripped = line.strip()
        if not stripped or stripped.startswith(("#", "//", "*", "/*")) or "static_assert" in line:
            continue
        for start, end in code_spans(line):
            part = line[start:end]
            for old, new in SWAPS:
                for match in re.finditer(re.escape(old) if old[0] == " " else r"\b%s\b" % old,
                                         part):
                    at = start + match.start()
                    found.append((number, line[:at] + new + line[at + len(old):],
                                  "%s -> %s" % (old.strip(), new.strip())))
            for match in NUMBER.finditer(part):
                value, at = int(match.group(1)), start + match.start()
                for moved in ([value - 1] if value > 0 else []) + [value + 1]:
                    found.append((number, line[:at] + str(moved) + line[at + len(match.group(1)):],
                                  "%d -> %d" % (value, moved)))
            for match in NOT.finditer(part):
                at = start + match.start()
                if line[at:at + 2] != "!=":
                    found.append((number, line[:at] + line[at + 1:], "! dropped"))
        condition = CONDITION.match(line)
        if condition and ";" not in condition.group(2):
            found.append((number, condition.group(1) + "false" + condition.group(3),
                          "branch never taken"))
        if DROPPABLE.match(line) and line.rstrip().endswith(";"):
            found.append((number, "", "statement left out: " + stripped))
    return [(n, new, what) for n, new, what in found if new != lines[n - 1]]


def refresh_copy():
    """Copies what changed in the tree; a copied file is newer than its object, so it is built."""
    for folder, subfolders, files in os.walk(TREE):
        subfolders[:] = [d for d in subfolders if not (folder == TREE and d in ("build", ".git"))]
        target = os.path.join(SOURCES, os.path.relpath(folder, TREE))
        os.makedirs(target, exist_ok=True)
        for name in files:
            source, copy = os.path.join(folder, name), os.path.join(target, name)
            if not os.path.exists(copy) or not filecmp.cmp(source, copy, shallow=False):
                shutil.copy(source, copy)
    # Warnings are not errors here: a fault that leaves a name unused still builds.
    launcher = os.path.join(WORK, "warnings-only.sh")
    if not os.path.exists(launcher):
        with open(launcher, "w", encoding="utf-8") as script:
            script.write('#!/bin/sh\nexec "$@" -Wno-error\n')
        os.chmod(launcher, 0o755)
    subprocess.run(["cmake", "-S", SOURCES, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Debug",
                    "-DCMAKE_CXX_FLAGS=-O0 -g0", "-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld",
                    "-DCMAKE_CXX_COMPILER_LAUNCHER=" + launcher], check=True,
                   stdout=subprocess.DEVNULL)


def build():
    env = dict(os.environ, CCACHE_DISABLE="1")
    return subprocess.run(["cmake", "--build", BUILD, "--target", "zvkob_unit_tests", "-j2"],
                          env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          check=False).returncode == 0


def tests_pass(timeout):
    try:
        return subprocess.run([TESTS, "--gtest_fail_fast", "--gtest_brief=1"], timeout=timeout,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              check=False).returncode == 0
    except subprocess.TimeoutExpired:
        return False  # a fault that makes a test loop is caught too


def simulation_finds(sequences, timeout):
    """Whether the simulation of years of events breaks a rule (or does not build)."""
    env = dict(os.environ, CCACHE_DISABLE="1")
    if subprocess.run(["cmake", "--build", BUILD, "--target", "zvkob_simulation_tests", "-j2"],
                      env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                      check=False).returncode != 0:
        return False
    try:
        return subprocess.run([SIMULATION], env=dict(os.environ, ZVKOB_SIM_SEQUENCES=str(sequences)),
                              timeout=timeout, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, check=False).returncode != 0
    except subprocess.TimeoutExpired:
        return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0],
                                     fromfile_prefix_chars="@")
    parser.add_argument("files", nargs="*", help="rule files, relative to the tree")
    parser.add_argument("--again", help="an earlier run's output: try again what survived or did "
                        "not build")
    parser.add_argument("--list", action="store_true", help="list the faults, run nothing")
    parser.add_argument("--timeout", type=int, default=120)
    parser.add_argument("--simulation", type=int, default=0, metavar="SEQUENCES",
                        help="a fault the unit tests miss is tried on the simulation too")
    options = parser.parse_args()
    wanted = None
    if options.again:
        verdict = re.compile(r"^(\S+:\d+: .*): (survived|does not build) \(\d+ s\)$")
        with open(options.again, encoding="utf-8") as earlier:
            wanted = {m.group(1) for m in map(verdict.match, earlier) if m}
        options.files += sorted({fault.split(":")[0] for fault in wanted} - set(options.files))
    if options.list:
        for relative in options.files:
            for number, new, what in faults(os.path.join(TREE, relative)):
                print("%s:%d: %s" % (relative, number, what))
        return 0
    refresh_copy()
    if not build() or not tests_pass(options.timeout):
        sys.exit("the unmutated tree does not build or its unit tests fail")
    survivors = []
    counts = {"caught": 0, "found by the simulation": 0, "survived": 0, "does not build": 0}
    for relative in options.files:
        path = os.path.join(SOURCES, relative)
        shutil.copy(path, path + ".orig")
        with open(path, encoding="utf-8") as source:
            original = source.read().split("\n")
        try:
            for number, new, what in faults(path + ".orig"):
                if wanted is not None and "%s:%d: %s" % (relative, number, what) not in wanted:
                    continue
                lines = list(original)
                lines[number - 1] = new
                with open(path, "w", encoding="utf-8") as mutated:
                    mutated.write("\n".join(lines))
                started = time.time()
                verdict = ("does not build" if not build()
                           else "caught" if not tests_pass(options.timeout) else "survived")
                if verdict == "survived" and options.simulation and simulation_finds(
                        options.simulation, options.timeout * 5):
                    verdict = "found by the simulation"
                counts[verdict] += 1
                print("%s:%d: %s: %s (%.0f s)" % (relative, number, what, verdict,
                                                  time.time() - started), flush=True)
                if verdict == "survived":
                    survivors.append("%s:%d: %s" % (relative, number, what))
        finally:
            shutil.move(path + ".orig", path)
            os.utime(path)  # newer than the last fault's object: the next build restores it
    print("\n%(caught)d caught, %(found by the simulation)d found by the simulation, "
          "%(survived)d survived, %(does not build)d do not build" % counts)
    for survivor in survivors:
        print("SURVIVED " + survivor)
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
