#!/usr/bin/env python3
"""Runs the bundled examples and compares their results with the guide's key values.

Usage: check-examples.py CALCEST CALCDIN ALTERNANCIAS EXAMPLES_DIR GUIDE.md
The key-value table of the guide has rows "| EXAMPLE | `QUANTITY` | VALUE |"; a
value agrees when it matches the program's to the decimals the guide gives.
The examples of alternancias are runs of its pattern loading, read from its
summary; their input files are the bundled ones or, failing that, the ones the
guide shows (a line "`NAME`:" followed by the indented file).
"""
import re
import shutil
import subprocess
import sys
import tempfile
import textwrap
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


# Envelope name -> model, permanent and variable loads files.
PATTERN_RUNS = {"V3": ("viga3.dat", "viga3.caf", "viga3q.caf"), "DOS": ("dos.dat", "dos-g.caf", "dos-q.caf")}
# Summary section -> quantity prefix, then per value: name, column of the value,
# of its abscissa (None: none) and of its arrangement.
SUMMARY_COLUMNS = {"Apoyo": ("support", (("moment", 3, None, 4), ("reaction", 5, None, 6))),
                   "Tramo": ("span", (("largest moment", 2, 3, 4), ("smallest moment", 5, 6, 7)))}


def run_patterns(alternancias, examples, guide_text, work, name):
    for file in PATTERN_RUNS[name]:
        bundled = Path(examples) / file
        shown = re.search(r"^`%s`:\n\n((?:    .*\n)+)" % re.escape(file), guide_text, re.M)
        text = bundled.read_bytes() if bundled.exists() else textwrap.dedent(shown.group(1)).encode("cp1252")
        (work / file).write_bytes(text)
    summary = subprocess.run([alternancias, name, *PATTERN_RUNS[name]], cwd=work, stdin=subprocess.DEVNULL,
                             stdout=subprocess.PIPE, check=True).stdout.decode("cp1252")
    values, section = {}, None
    for words in (line.split() for line in summary.splitlines()):
        if words[:1] and words[0] in SUMMARY_COLUMNS:
            section = SUMMARY_COLUMNS[words[0]]
        elif words and section:
            for quantity, value, x, arrangement in section[1]:
                key = "%s %s %s" % (section[0], words[0], quantity)
                values[key] = float(words[value])
                if words[arrangement] != "-":  # an extreme of 0 names no arrangement
                    values[key + " arrangement"] = int(words[arrangement].rsplit("_", 1)[1])
                if x is not None:
                    values[key + " x"] = float(words[x])
    return values


def main():
    calcest, calcdin, alternancias, examples, guide = sys.argv[1:6]
    guide_text = Path(guide).read_text(encoding="utf-8")
    rows = re.findall(r"^\| (\w+) \| `([^`]+)` \| (-?[\d.]+) \|$", guide_text, re.M)
    results, failures = {}, 0
    with tempfile.TemporaryDirectory() as tmp:
        for example, quantity, text in rows:
            if example not in results:
                work = Path(tmp) / example
                work.mkdir()
                results[example] = (run_patterns(alternancias, examples, guide_text, work, example)
                                    if example in PATTERN_RUNS else run_example(calcest, calcdin, examples, work, example))
            got = results[example][quantity]
            decimals = len(text.split(".")[1]) if "." in text else 0
            ok = abs(got - float(text)) <= 0.6 * 10 ** -decimals
            failures += not ok
            print("%-8s %-34s guide %12s  program %14.6f  %s" % (example, quantity, text, got, "ok" if ok else "DIFFERS"))
    if len(rows) < 6:
        print("the guide's key-value table was not found")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
