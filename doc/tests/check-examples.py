#!/usr/bin/env python3
"""Runs the bundled examples and compares their results with the guide's key values,
and runs the guide's quick start session.

Usage: check-examples.py CALCEST CALCDIN INFORME ALTERNANCIAS EXAMPLES_DIR GUIDE.md KEY_VALUES.md [ARMADO]
The key-value table has rows "| EXAMPLE | `QUANTITY` | VALUE |"; a number
agrees when it matches the program's to the decimals the table gives and is
quoted in the guide, a text (the spans an extreme loads, a note) when it is the
same.
The examples of armado are designs, read from its table (a column at a
station: "As,i,nec 3.000"), its schedule ("mark 2 piece", "total weight") and
its summary ("mark 2 from", "mark 2 to": where a group's straight part runs;
"phi", "eps_cs" in per mille and "Ec,eff" of the serviceability; "span 1 L/f").
The quick start's indented blocks are a session: each line "$ COMMAND" runs in
one scratch folder holding the examples, and the lines after it are its output,
line for line, where a line "…" stands for any number of lines.
viga3's frequencies are also those of its model with every bar cut into 2, 4
and 8 equal bars ("frequency K split N").
The examples of alternancias are runs of its pattern loading, read from its
summary. The input files of every example are the bundled ones or, failing
that, the ones the guide shows (a line "`NAME`:" followed by the indented file).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import textwrap
from pathlib import Path


def split_model(text, parts):
    """The model file with every bar (all prismatic, without rigid zones: the
    examples' spans) cut into `parts` equal bars: nodes along each bar, no
    support there."""
    lines = text.splitlines()
    counts = lines[1].split()
    nb, nn = int(counts[0]), int(counts[1])
    nodes = [line.split() for line in lines[2:2 + nn]]
    at = {n[0]: (float(n[1]), float(n[2])) for n in nodes}
    label = max(int(n[0]) for n in nodes)
    bars = []
    for k in range(nb):
        first, second = lines[2 + nn + 2 * k].split(), lines[3 + nn + 2 * k]
        (x1, y1), (x2, y2) = at[first[1]], at[first[2]]
        start = first[1]
        for part in range(parts):
            end = first[2]
            if part < parts - 1:
                label += 1
                nodes.append([str(label), repr(x1 + (x2 - x1) * (part + 1) / parts),
                              repr(y1 + (y2 - y1) * (part + 1) / parts)])
                end = str(label)
            bars.append(" ".join([str(len(bars) + 1), start, end] + first[3:]) + "\n" + second)
            start = end
    counts[0], counts[1] = str(len(bars)), str(len(nodes))
    return "\n".join([lines[0], " ".join(counts)] + [" ".join(n) for n in nodes] + bars +
                     lines[2 + nn + 2 * nb:]) + "\n"


def split_frequencies(calcest, calcdin, work, name, parts):
    """The ascending frequencies (option 0) of the model cut into `parts` bars per bar."""
    stem = "%s-%d" % (name, parts)
    (work / (stem + ".dat")).write_text(split_model((work / (name + ".dat")).read_text(), parts))
    (work / (stem + ".caf")).write_text("")
    for step in ([calcest, stem + ".dat", stem + ".res", stem + ".caf", stem + ".fmc", stem + ".bar", "0"],
                 [calcdin, stem + ".dat", stem + ".bar", stem + ".din", "0"]):
        subprocess.run(step, cwd=work, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)
    found = [float(v) for v in re.findall(r"ciclos/seg\.:\s*(\S+)", (work / (stem + ".din")).read_text(encoding="cp1252"))]
    return found[len(found) // 2:]  # the second listing, ascending


def run_example(calcest, calcdin, examples, guide_text, work, name):
    shown_files(examples, guide_text, work, (name + ".dat", name + ".caf"))
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
    if name == "viga3":
        for parts in (1, 2, 4, 8):
            for k, f in enumerate(split_frequencies(calcest, calcdin, work, name, parts)[:6], 1):
                values["frequency %d split %d" % (k, parts)] = f
    return values


# Envelope name -> model, permanent and variable loads files.
PATTERN_RUNS = {"V3": ("viga3.dat", "viga3.caf", "viga3q.caf"), "DOS": ("dos.dat", "dos-g.caf", "dos-q.caf")}
# Summary blocks and rows -> the words of their keys.
SUMMARY_BLOCKS = {"Apoyo": "support", "Tramo": "span"}
SUMMARY_ROWS = {"momento más negativo": "most negative moment", "momento más positivo": "most positive moment",
                "reacción máxima": "largest reaction", "reacción mínima": "smallest reaction",
                "cortante a la izquierda": "shear left", "cortante a la derecha": "shear right",
                "momento máximo": "largest moment", "momento mínimo": "smallest moment",
                "flecha hacia abajo": "downward deflection", "flecha hacia arriba": "upward deflection"}


def summary_values(summary):
    """Per row "support K ROW" (or "span K ROW"): the value, and with suffixes its
    x, the permanent factor, the span/deflection ratio, the note and the spans
    loaded (as printed: "1, 3" or "ninguno")."""
    values, block, key = {}, None, None
    for line in summary.splitlines():
        m = re.match(r"  (Apoyo|Tramo) (\d+):", line)
        if m:
            block = "%s %s" % (SUMMARY_BLOCKS[m.group(1)], m.group(2))
            continue
        label = line[4:28].strip() if line.startswith("    ") else None
        if label in SUMMARY_ROWS and block:
            key = "%s %s" % (block, SUMMARY_ROWS[label])
            words = line[28:].split()
            values[key] = float(words.pop(0))
            if words[0] == "x":
                values[key + " x"] = float(words[1])
                words = words[2:]
            values[key + " factor"] = float(words.pop(0)[1:])
            if words[0] == "LEVANTAMIENTO" or words[0] == "-" or words[0].startswith("L/"):
                note = words.pop(0)
                values[key + " note"] = note
                if note.startswith("L/"):
                    values[key + " ratio"] = float(note[2:])
            values[key + " spans"] = " ".join(words)
        elif label == "" and key:  # the spans go on
            values[key + " spans"] += " " + line.strip()
        else:
            key = None
    return values


def run_patterns(alternancias, examples, guide_text, work, name):
    shown_files(examples, guide_text, work, PATTERN_RUNS[name])
    summary = subprocess.run([alternancias, name, *PATTERN_RUNS[name]], cwd=work, stdin=subprocess.DEVNULL,
                             env=dict(os.environ, LC_ALL="C"),
                             stdout=subprocess.PIPE, check=True).stdout.decode("cp1252")
    return summary_values(summary)


# Design name -> model, permanent and variable loads files, shown in the guide.
DESIGN_RUNS = {"S1": ("s1.dat", "s1-g.caf", "s1-q.caf"), "T3": ("t3.dat", "t3-g.caf", "t3-q.caf")}


def shown_files(examples, guide_text, work, files):
    """Each file bundled, or as the guide shows it."""
    for file in files:
        bundled = Path(examples) / file
        shown = re.search(r"^`%s`:\n\n((?:    .*\n)+)" % re.escape(file), guide_text, re.M)
        text = bundled.read_bytes() if bundled.exists() else textwrap.dedent(shown.group(1)).encode("cp1252")
        (work / file).write_bytes(text)


def run_design(armado, examples, guide_text, work, name):
    shown_files(examples, guide_text, work, DESIGN_RUNS[name])
    summary = subprocess.run([armado, name, *DESIGN_RUNS[name]], cwd=work, stdin=subprocess.DEVNULL,
                             env=dict(os.environ, LC_ALL="C"), stdout=subprocess.PIPE,
                             check=True).stdout.decode("cp1252")
    values = {}
    table = (work / (name + ".arm")).read_text(encoding="cp1252").splitlines()
    columns = table[2].split()
    for line in table[3:]:
        cells = line.split()
        for column, cell in zip(columns[1:], cells[1:]):
            values["%s %s" % (column, cells[0])] = float(cell)
    for line in (work / (name + ".des")).read_text(encoding="cp1252").splitlines():
        row = re.match(r"\s*(\d+)\s.*\s(\d+\.\d+)\s+\d+\s+\d+\.\d+\s+\d+\.\d+$", line)
        if row:
            values["mark %s piece" % row.group(1)] = float(row.group(2))
        if line.startswith("Total"):
            values["total weight"] = float(line.split()[-1])
    for mark, start, end in re.findall(r"\((\d+)\) de (-?\d+\.\d+) a (-?\d+\.\d+)", summary):
        values["mark %s from" % mark], values["mark %s to" % mark] = float(start), float(end)
    # The serviceability's parameters and each span's L/f.
    for key, pattern in (("phi", r"phi\(inf,t0\) = (\d+\.\d+)"), ("eps_cs", r"eps_cs = (\d+\.\d+) por mil"),
                         ("Ec,eff", r"Ec,eff = Ecm/\(1 \+ phi\) = (\d+) MPa")):
        found = re.search(pattern, summary)
        if found:
            values[key] = float(found.group(1))
    for span, ratio in re.findall(r"^\s+(\d+)\s+\d+\.\d+\s+\d+\.\d+\s+\d+\.\d+\s+-?\d+\.\d+\s+L/(\d+)\s+L/250",
                                  summary, re.M):
        values["span %s L/f" % span] = float(ratio)
    return values


def session_steps(guide_text):
    """The commands of the quick start and the output shown for each."""
    section = re.search(r"^# Quick start\n(.*?)^# ", guide_text, re.M | re.S).group(1)
    steps, in_block = [], False
    for line in section.splitlines():
        if line.startswith("    $ "):
            steps.append((line[6:], []))
            in_block = True
        elif in_block and line.startswith("    "):
            steps[-1][1].append(line[4:])
        elif line.strip():
            in_block = False  # prose ends a block
    return steps


def shown_matches(shown, lines):
    """Whether the output lines match the shown ones ("…" skips any lines)."""
    if not shown:
        return not lines
    if shown[0] == "…":
        return any(shown_matches(shown[1:], lines[k:]) for k in range(len(lines) + 1))
    return bool(lines) and lines[0] == shown[0] and shown_matches(shown[1:], lines[1:])


def run_session(programs, examples, guide_text, work):
    failures = 0
    for file in Path(examples).glob("viga3*"):
        shutil.copy(file, work)
    env = {"PATH": "%s:/usr/bin:/bin" % programs, "LC_ALL": "C", "HOME": str(work)}
    steps = session_steps(guide_text)
    for command, shown in steps:
        run = subprocess.run(["bash", "-c", command], cwd=work, env=env, stdin=subprocess.DEVNULL,
                             capture_output=True)
        lines = run.stdout.decode("cp1252").splitlines()
        ok = run.returncode == 0 and shown_matches(shown, lines)
        failures += not ok
        print("quick start: $ %s  %s" % (command, "ok" if ok else "DIFFERS"))
        if not ok:
            print("  status %d; printed:\n    %s" % (run.returncode, "\n    ".join(lines[:40])))
    if len(steps) < 4:
        print("the guide's quick start session was not found")
        failures += 1
    return failures


def main():
    calcest, calcdin, informe, alternancias, examples, guide, key_values = sys.argv[1:8]
    armado = sys.argv[8] if len(sys.argv) > 8 else None
    guide_text = Path(guide).read_text(encoding="utf-8")
    quoted = guide_text.replace("\u2212", "-")
    rows = re.findall(r"^\| (\w+) \| `([^`]+)` \| ([^|`]+?) \|$", Path(key_values).read_text(encoding="utf-8"),
                      re.M)
    results, failures = {}, 0
    with tempfile.TemporaryDirectory() as tmp:
        for example, quantity, text in rows:
            if example not in results:
                work = Path(tmp) / example
                work.mkdir()
                if example in DESIGN_RUNS:
                    results[example] = run_design(armado, examples, guide_text, work, example) if armado else {}
                elif example in PATTERN_RUNS:
                    results[example] = run_patterns(alternancias, examples, guide_text, work, example)
                else:
                    results[example] = run_example(calcest, calcdin, examples, guide_text, work, example)
            got = results[example].get(quantity)
            if isinstance(got, float):
                decimals = len(text.split(".")[1]) if "." in text else 0
                ok = abs(got - float(text)) <= 0.6 * 10 ** -decimals
                if text not in quoted:
                    print("%s %s: %s is not quoted in the guide" % (example, quantity, text))
                    ok = False
                shown = "%14.6f" % got
            else:  # the spans loaded, or a note, as printed
                ok = got == text
                shown = "%14s" % got
            failures += not ok
            print("%-8s %-42s guide %12s  program %s  %s" % (example, quantity, text, shown, "ok" if ok else "DIFFERS"))
        programs, session = Path(tmp) / "bin", Path(tmp) / "quick-start"
        programs.mkdir()
        session.mkdir()
        for program in (calcest, calcdin, informe, alternancias):
            (programs / Path(program).name).symlink_to(Path(program).resolve())
        failures += run_session(programs, examples, guide_text, session)
    if len(rows) < 6:
        print("the key-value table was not found")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
