#!/usr/bin/env python3
"""Runs the bundled examples and compares their results with the guide's key values.

Usage: check-examples.py CALCEST CALCDIN EXAMPLES_DIR GUIDE.md
The key-value table of the guide has rows "| EXAMPLE | `QUANTITY` | VALUE |"; a
value agrees when it matches the program's to the decimals the guide gives.
"""
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path


def run_example(calcest, calcdin, examples, work, name):
    for ext in (".dat", ".caf"):
        shutil.copy(Path(examples) / (name + ext), work)
    steps = [[calcest, name + ".dat", name + ".res", name + ".caf", name + ".fmc", name + ".bar", "0"],
             [calcdin, name + ".dat", name + ".bar", name + ".din", "0"],
             [calcdin, name + ".dat", name + ".bar", name + "-2.din", "2"]]
    for step in steps:
        subprocess.run(step, cwd=work, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)
    nb, nn, nsup = [int(v) for v in (work / (name + ".dat")).read_text().split()[3:6]]
    # Results file: header, one line per node, per bar, per support.
    rows = [[float(v) for v in line.split()] for line in
            (work / (name + ".res")).read_text(encoding="cp1252").splitlines()[1:]]
    bar_lines, support_lines = rows[nn:nn + nb], rows[nn + nb:nn + nb + nsup]
    values = {"reaction sum": sum(s[1] for s in support_lines)}
    for modes_file, quantity in ((name + ".din", "frequency 1"), (name + "-2.din", "frequency 1 option 2")):
        modes = (work / modes_file).read_text(encoding="cp1252")
        values[quantity] = min(float(v) for v in re.findall(r"ciclos/seg\.:\s*(\S+)", modes))
    for k, s in enumerate(support_lines, 1):
        values["reaction %d" % k] = s[1]
    for b in bar_lines:
        values["moment start %d" % int(b[0])] = b[3]
        values["moment end %d" % int(b[0])] = b[4]
    return values


def main():
    calcest, calcdin, examples, guide = sys.argv[1:5]
    rows = re.findall(r"^\| (\w+) \| `([^`]+)` \| (-?[\d.]+) \|$", Path(guide).read_text(encoding="utf-8"), re.M)
    results, failures = {}, 0
    with tempfile.TemporaryDirectory() as tmp:
        for example, quantity, text in rows:
            if example not in results:
                work = Path(tmp) / example
                work.mkdir()
                results[example] = run_example(calcest, calcdin, examples, work, example)
            got = results[example][quantity]
            decimals = len(text.split(".")[1]) if "." in text else 0
            ok = abs(got - float(text)) <= 0.6 * 10 ** -decimals
            failures += not ok
            print("%-8s %-14s guide %12s  program %14.6f  %s" % (example, quantity, text, got, "ok" if ok else "DIFFERS"))
    if len(rows) < 6:
        print("the guide's key-value table was not found")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
