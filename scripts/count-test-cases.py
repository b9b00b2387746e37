#!/usr/bin/env python3
"""Prints two numbers for the test command's closing line: the GoogleTest
cases that ran (from the programs' XML reports; skipped and disabled cases do
not count) and the other tests ctest ran (scripts: the entries of ctest's
totals in LOG that left no report).
Usage: count-test-cases.py LOG REPORT_DIR..."""
import re
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

log, folders = sys.argv[1], sys.argv[2:]
cases = programs = 0
for report in (r for folder in folders for r in sorted(Path(folder).glob("*.xml"))):
    programs += 1
    for case in ElementTree.parse(report).iter("testcase"):
        if case.get("status") == "run" and case.get("result", "completed") == "completed":
            cases += 1
entries = sum(int(n) for n in re.findall(r"tests failed out of (\d+)", Path(log).read_text()))
print(cases, max(entries - programs, 0))
