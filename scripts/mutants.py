#!/usr/bin/env python3
"""Looks for faults in the module that no test notices.

Makes a copy of the tracked tree under build/mutants, builds its native unit tests once, then
for a sample of simple mutants of the module's sources (a comparison flipped, a logical
operator swapped, a constant nudged, a result code or a truth value swapped) rebuilds the
tests and runs them. A mutant is killed when a test fails or times out; a mutant that does
not compile is stillborn and not counted. The survivors are listed with their place and
change: each is a behaviour no test checks, or a change that no caller can see.

Slow (a rebuild per mutant): not part of the test command.

usage: scripts/mutants.py [--count N] [--seed S] [--files GLOB ...]
"""

import argparse
import filecmp
import fnmatch
import os
import random
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LAYERS = ("qx/kit/", "com/", "propertybag/", "expert/")

# (pattern, replacement): each applies to one occurrence on one line.
OPERATORS = [
    (" < ", " <= "), (" <= ", " < "), (" > ", " >= "), (" >= ", " > "),
    (" == ", " != "), (" != ", " == "), (" && ", " || "), (" || ", " && "),
    (" + 1", " - 1"), (" - 1", " + 1"),
    ("return true;", "return false;"), ("return false;", "return true;"),
    ("S_OK", "S_FALSE"), ("S_FALSE", "S_OK"), ("E_POINTER", "S_OK"),
    ("E_OUTOFMEMORY", "E_FAIL"), ("E_FAIL", "S_OK"),
]

# Tests beyond the unit tests that cover a file's code: the locks and counting, and the
# expert's exports and identity as a host loads them.
THREADED_FILES = ("com/qxcs.cpp", "com/qxmutex.cpp")
MODULE_PREFIX = "expert/"


def run(command, cwd, timeout):
    try:
        done = subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout)
        return done.returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def sync_tree(source):
    """Copies the tracked files into source, leaving those already the same untouched so that
    a second run rebuilds only what changed."""
    tracked = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, capture_output=True,
                             check=True).stdout.decode().split("\0")
    for path in filter(None, tracked):
        origin = os.path.join(ROOT, path)
        copy = os.path.join(source, path)
        if os.path.isfile(copy) and filecmp.cmp(origin, copy, shallow=False):
            continue
        os.makedirs(os.path.dirname(copy), exist_ok=True)
        shutil.copy2(origin, copy)


def candidates(source, patterns):
    found = []
    for path in sorted(subprocess.run(["git", "ls-files"], cwd=ROOT, capture_output=True,
                                      text=True, check=True).stdout.split()):
        if not path.startswith(LAYERS) or not path.endswith((".cpp", ".h")):
            continue
        if patterns and not any(fnmatch.fnmatch(path, p) for p in patterns):
            continue
        with open(os.path.join(source, path), encoding="utf-8") as text:
            lines = text.read().split("\n")
        in_comment = False
        for number, line in enumerate(lines):
            stripped = line.strip()
            opens = "/*" in line
            if in_comment or opens:
                in_comment = "*/" not in line.split("/*")[-1] if opens else "*/" not in line
                continue
            if stripped.startswith(("//", "#", "static_assert")) or "assert(" in line:
                continue
            code = line.split("//")[0]
            for old, new in OPERATORS:
                for match in re.finditer(re.escape(old), code):
                    found.append((path, number, match.start(), old, new))
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--count", type=int, default=40)
    parser.add_argument("--seed", type=int, default=19)
    parser.add_argument("--files", nargs="*", default=[])
    args = parser.parse_args()

    source = os.path.join(ROOT, "build", "mutants", "src")
    sync_tree(source)
    build = os.path.join(source, "build", "native")
    if run(["cmake", "--preset", "native"], source, 600) != 0:
        sys.exit("configuring the copy failed")

    def rebuild_and_test(path):
        built = run(["cmake", "--build", build, "-j2", "--target", "unit_tests",
                     "thread_tests", "module_tests"], source, 1800)
        if built != 0:
            return "stillborn"
        if run([os.path.join(build, "unit_tests"), "--gtest_brief=1"], build, 300) != 0:
            return "killed"
        if path in THREADED_FILES:
            if run([os.path.join(build, "thread_tests"), "--gtest_brief=1"], build, 300) != 0:
                return "killed"
        if path is None or path.startswith(MODULE_PREFIX):
            if run([os.path.join(build, "module_tests"), "--gtest_brief=1"], build, 600) != 0:
                return "killed"
        return "survived"

    baseline = rebuild_and_test(None)
    if baseline != "survived":
        sys.exit(f"the unmutated copy does not pass: {baseline} (build it in {build} to see)")

    found = candidates(source, args.files)
    random.Random(args.seed).shuffle(found)
    sample = found[:args.count]
    results = {"killed": 0, "survived": 0, "stillborn": 0}
    survivors = []
    started = time.time()
    for index, (path, number, column, old, new) in enumerate(sample, 1):
        full = os.path.join(source, path)
        with open(full, encoding="utf-8") as text:
            original = text.read()
        lines = original.split("\n")
        line = lines[number]
        lines[number] = line[:column] + new + line[column + len(old):]
        with open(full, "w", encoding="utf-8") as text:
            text.write("\n".join(lines))
        try:
            outcome = rebuild_and_test(path)
        finally:
            with open(full, "w", encoding="utf-8") as text:
                text.write(original)
        results[outcome] += 1
        place = f"{path}:{number + 1}: '{old.strip()}' -> '{new.strip()}'"
        print(f"[{index}/{len(sample)}] {outcome:9} {place}", flush=True)
        if outcome == "survived":
            survivors.append(f"{place}\n    {line.strip()}")

    counted = results["killed"] + results["survived"]
    print(f"\n{len(found)} candidate mutants, {len(sample)} sampled (seed {args.seed}) in "
          f"{time.time() - started:.0f} s: {results['killed']} killed, "
          f"{results['survived']} survived, {results['stillborn']} stillborn")
    if counted:
        print(f"killed {100 * results['killed'] / counted:.0f}% of those that compile")
    for survivor in survivors:
        print("survived: " + survivor)
    run(["cmake", "--build", build, "--target", "unit_tests"], source, 900)


if __name__ == "__main__":
    main()
