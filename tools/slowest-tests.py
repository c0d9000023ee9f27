#!/usr/bin/env python3
"""slowest-tests.py BUILD-DIR...: after the tests ran, the ten slowest of each build with their
time against their limit, so that a test creeping toward its limit is seen before it fails.
A test past a third of its limit is marked: on a machine three times slower it would fail."""
import glob
import re
import sys

DEFAULT_LIMIT = 300.0  # what test.sh gives a test that sets none


def times(build):
    with open(f"{build}/Testing/Temporary/LastTest.log", encoding="utf-8", errors="replace") as log:
        text = log.read()
    return {name: float(seconds) for name, seconds in
            re.findall(r"^\d+/\d+ Testing: (\S+)$.*?^Test time = +([\d.]+) sec", text, re.M | re.S)}


def limits(build):
    """Each test's TIMEOUT, as the build wrote it for CTest (asking ctest would rewrite its log)."""
    found = {}
    for testfile in glob.glob(f"{build}/**/CTestTestfile.cmake", recursive=True):
        with open(testfile, encoding="utf-8") as f:
            for name, rest in re.findall(r"^set_tests_properties\(\[=\[(.+?)\]=\] PROPERTIES (.*)$",
                                         f.read(), re.M):
                limit = re.search(r'\bTIMEOUT "([\d.]+)"', rest)
                found[name] = float(limit.group(1)) if limit else DEFAULT_LIMIT
    return found


for build in sys.argv[1:]:
    taken, limit = times(build), limits(build)
    print(f"slowest tests in {build} (time / limit):")
    slowest = sorted(taken, key=taken.get, reverse=True)[:10]
    width = max(map(len, slowest), default=0)
    for name in slowest:
        share = taken[name] / limit.get(name, DEFAULT_LIMIT)
        mark = "  <- over a third of its limit" if share > 1 / 3 else ""
        print(f"  {name:{width}} {taken[name]:7.1f} s / {limit.get(name, DEFAULT_LIMIT):4.0f} s  ({share:4.0%}){mark}")
