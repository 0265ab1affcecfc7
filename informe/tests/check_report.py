#!/usr/bin/env python3
"""End-to-end checks of informe on the bundled examples.

Usage: check_report.py BUILD_DIR EXAMPLES_DIR

For each example the real programs run in a scratch directory (calcest, then
calcdin where the case asks for modes, then informe) and the report is read
back: every value it prints from a results file equals the word at the line and
field it names (a picture's label, the word rounded), the model tables equal the
input files, each picture parses as
XML, and the drawn supports and loads match the model in number and position.
Bad inputs, and outputs that are inputs under another name, must give a
message naming the file and status 1, and write nothing. Files of the user's
named like what a run might write aside are left as they were.
"""
import glob
import os
import re
import shutil
import sys
import tempfile
import xml.etree.ElementTree as ET

from svg_checks import SVG, Cells, caf_lines, check, dat_geometry, failures, rounds_to, run, same_loads, translation

BUILD, EXAMPLES = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
CALCEST = os.path.join(BUILD, "calcest", "calcest")
CALCDIN = os.path.join(BUILD, "calcdin", "calcdin")
INFORME = os.path.join(BUILD, "informe", "informe")


def words(path):
    """Words of a file by (line, field), both counted from 1."""
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").split("\n")
    return {(n, k): w for n, line in enumerate(lines, 1) for k, w in enumerate(line.split(), 1)}


def near(a, b, tolerance=0.011):
    return abs(float(a) - float(b)) <= tolerance


def check_sources(project, where, cells, files):
    """Tables and the modes' titles print the file's word; the diagrams' labels round it."""
    for tag, attrs, text in cells:
        source = attrs["data-fuente"]
        if source in ("dat", "caf"):
            continue
        key = (int(attrs["data-linea"]), int(attrs["data-campo"]))
        word = files[source].get(key)
        exact = tag == "td" or source == "modos"
        check(word is not None and (word == text if exact else rounds_to(text, word)),
              f"{project} {where}: '{text}' is not the word {key} of the {source} file ({word!r})")


def check_symbols(project, svg, nodes, bars, supports, loads, nodal):
    root = ET.parse(svg).getroot()
    s, x0, y0 = (float(root.get(k)) for k in ("data-escala", "data-x0", "data-y0"))
    groups = list(root.iter(SVG + "g"))
    drawn = [g for g in groups if g.get("class") == "apoyo"]
    check(sorted((int(g.get("data-nodo")), int(g.get("data-codigo"))) for g in drawn) == sorted(supports),
          f"{project}: supports drawn {[(g.get('data-nodo'), g.get('data-codigo')) for g in drawn]}, model {supports}")
    for g in drawn:
        x, y = nodes[int(g.get("data-nodo"))]
        check(near(g.get("data-x"), x, 1e-9) and near(g.get("data-y"), y, 1e-9), f"{project}: support data at node")
        X, Y = translation(g)
        check(near(X, x0 + x * s) and near(Y, y0 - y * s), f"{project}: support of node {g.get('data-nodo')} drawn at {X},{Y}")
    drawn = [g for g in groups if g.get("class") == "carga-nodal"]
    check([(int(g.get("data-nodo")),) + tuple(float(g.get(k)) for k in ("data-fx", "data-fy", "data-m")) for g in drawn]
          == nodal, f"{project}: nodal loads drawn {[g.attrib for g in drawn]}, model {nodal}")
    for g in drawn:
        x, y = nodes[int(g.get("data-nodo"))]
        X, Y = translation(g)
        check(near(X, x0 + x * s) and near(Y, y0 - y * s), f"{project}: nodal load at node {g.get('data-nodo')} drawn at {X},{Y}")
    drawn = [g for g in groups if g.get("class") == "carga"]
    check(len(drawn) == len(loads), f"{project}: {len(drawn)} loads drawn, {len(loads)} in the loads file")
    bar_nodes = {b[0]: (b[1], b[2]) for b in bars}
    for g, line in zip(drawn, loads):
        bar, kind, a, c, _, q = int(line[0]), int(line[1]), float(line[2]), float(line[3]), line[4], line[5]
        check((int(g.get("data-barra")), int(g.get("data-tipo"))) == (bar, kind) and near(g.get("data-q"), q, 1e-9),
              f"{project}: load {line} drawn as bar {g.get('data-barra')} type {g.get('data-tipo')} q {g.get('data-q')}")
        (xi, yi), (xj, _) = nodes[bar_nodes[bar][0]], nodes[bar_nodes[bar][1]]
        start = (xi + xj) / 2 if kind == 6 else xi + a  # the examples' bars are horizontal
        end = start if kind in (1, 2, 6) else start + c
        check(near(g.get("data-x"), start, 1e-9) and near(g.get("data-x2"), end, 1e-9) and near(g.get("data-y"), yi, 1e-9),
              f"{project}: load {line} placed from {g.get('data-x')} to {g.get('data-x2')}, expected {start} to {end}")
        X, Y = translation(g)
        check(near(X, x0 + start * s) and near(Y, y0 - yi * s), f"{project}: load {line} drawn at {X},{Y}")


def analyse(work, project, modes_option):
    status, out = run(CALCEST, [f"{project}.{e}" for e in ("dat", "res", "caf", "fmc", "bar")] + ["0"], work)
    check(status == 0, f"{project}: calcest status {status}: {out}")
    args = [project]
    if modes_option is not None:
        status, out = run(CALCDIN, [f"{project}.dat", f"{project}.bar", f"{project}.din", str(modes_option)], work)
        check(status == 0, f"{project}: calcdin status {status}: {out}")
        args.append(f"{project}.din")
    return args


DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data")
# (project, its directory, calcdin option or None, supports as (node, code),
#  nodal loads as (node, Fx, Fy, M))
REPORTS = [
    ("viga3", EXAMPLES, 0, [(1, 110), (2, 10), (3, 10), (4, 10)], []),
    ("viga2h", EXAMPLES, None, [(1, 111), (2, 10), (3, 20)], []),
    ("env_a", os.path.join(EXAMPLES, "envolvente"), 1, [(1, 110), (2, 10), (3, 10)], []),
    # hinge, rigid zone, spring with rotation, inclined roller, nodal force,
    # point moment, partial, triangular and temperature loads
    ("mixta", DATA, 0, [(1, 111), (3, 22), (4, 4)], [(2, 0.0, -80.0, 0.0)]),
]


def check_report(project, folder, modes_option, supports, nodal):
    work = tempfile.mkdtemp()
    try:
        for f in glob.glob(os.path.join(folder, project + ".*")):
            shutil.copy(f, work)
        args = analyse(work, project, modes_option)
        status, out = run(INFORME, args, work)
        if not check(status == 0, f"{project}: informe status {status}: {out}"):
            return
        files = {"res": words(f"{work}/{project}.res"), "fmc": words(f"{work}/{project}.fmc")}
        if modes_option is not None:
            files["modos"] = words(f"{work}/{project}.din")
        with open(f"{work}/{project}.html", "rb") as f:
            page = f.read().decode("ascii")
        check('<p id="flecha-elastica">Flecha el&#225;stica, secci&#243;n bruta' in page,
              f"{project}: the page does not say its deflections are elastic, of the gross section")
        cells = Cells()
        cells.feed(page)
        check_sources(project, "page", cells.cells, files)
        nodes, bars = dat_geometry(f"{work}/{project}.dat")
        loads = caf_lines(f"{work}/{project}.caf")
        # Every row of the model and results tables is there, with the files' values.
        rows = {k: v[1:] for k, v in cells.rows.items()}
        check([(float(r[0]["text"]), float(r[1]["text"]), float(r[2]["text"])) for r in rows["nodos"]] ==
              [(label,) + nodes[label] for label in sorted(nodes)], f"{project}: node table")
        check(same_loads(cells, loads), f"{project}: loads table")
        for table, count in (("desplazamientos", len(nodes)), ("extremos", len(bars)), ("reacciones", len(supports))):
            check(len(rows[table]) == count, f"{project}: table {table} has {len(rows[table])} rows, expected {count}")
        pictures = ["modelo", "flecha", "momento", "corte"]
        if modes_option is not None:
            order = sum(1 for k, w in files["modos"].items() if w == "AUTOVECTORES") // 2
            check(len(rows["modos"]) == order, f"{project}: {len(rows['modos'])} modes listed, the file has {order}")
            pictures += [f"modo{k}" for k in range(1, min(6, order) + 1)]
        check(sorted(glob.glob(f"{work}/{project}-*.svg")) == sorted(f"{work}/{project}-{p}.svg" for p in pictures),
              f"{project}: pictures {glob.glob(f'{work}/{project}-*.svg')}")
        inline = re.findall(r"<svg .*?</svg>", page, re.S)
        check(len(inline) == len(pictures), f"{project}: {len(inline)} pictures on the page")
        for svg in inline:
            ET.fromstring(svg)
        for p in pictures:
            path = f"{work}/{project}-{p}.svg"
            if not check(os.path.exists(path), f"{project}: missing {path}"):
                continue
            ET.parse(path)
            with open(path) as f:
                parser = Cells()
                parser.feed(f.read())
            check_sources(project, p, parser.cells, files)
        check_symbols(project, f"{work}/{project}-modelo.svg", nodes, bars, supports, loads, nodal)
    finally:
        shutil.rmtree(work)


def cut(path, keep):
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[:int(len(data) * keep)])


def replace_in(path, old, new):
    with open(path) as f:
        text = f.read()
    with open(path, "w") as f:
        f.write(text.replace(old, new))


def other_loads(work, res, fmc):
    """calcest on viga3.dat with the loads of viga3q.caf, its results written as `res` and `fmc`."""
    shutil.copy(os.path.join(EXAMPLES, "viga3q.caf"), work)
    run(CALCEST, ["viga3.dat", res, "viga3q.caf", fmc, "otra.bar", "0"], work)


# (what, the file the message must name, how to spoil the project, informe's arguments)
BAD_INPUTS = [
    ("no results file", "viga3.res", lambda w: os.remove(f"{w}/viga3.res"), ["viga3"]),
    ("no diagram file", "viga3.fmc", lambda w: os.remove(f"{w}/viga3.fmc"), ["viga3"]),
    ("no model file", "viga3.dat", lambda w: os.remove(f"{w}/viga3.dat"), ["viga3"]),
    ("results cut short", "viga3.res", lambda w: cut(f"{w}/viga3.res", 0.5), ["viga3"]),
    ("diagram cut short", "viga3.fmc", lambda w: cut(f"{w}/viga3.fmc", 0.7), ["viga3"]),
    ("diagram of another model", "viga3.fmc", lambda w: shutil.copy(f"{w}/viga2h.fmc", f"{w}/viga3.fmc"), ["viga3"]),
    ("results of another model", "viga3.res", lambda w: shutil.copy(f"{w}/viga2h.res", f"{w}/viga3.res"), ["viga3"]),
    ("results of other loads", "viga3.res", lambda w: other_loads(w, "viga3.res", "otra.fmc"), ["viga3"]),
    ("diagram of other loads", "viga3.fmc", lambda w: other_loads(w, "otra.res", "viga3.fmc"), ["viga3"]),
    ("a model calcest cannot solve", "viga3.dat", lambda w: replace_in(f"{w}/viga3.dat", "1  110 0.0 0.0", "1  10 0.0"),
     ["viga3"]),
    ("load on a bar the model lacks", "viga3.caf",
     lambda w: open(f"{w}/viga3.caf", "a").write("9  3  0.0  6.0  0.0  -2.5 y\n"), ["viga3"]),
    ("load shorter than its bar", "viga3.caf",
     lambda w: open(f"{w}/viga3.caf", "a").write("1  3  0.0  5.0  0.0  -2.5 y\n"), ["viga3"]),
    ("unknown load type", "viga3.caf",
     lambda w: open(f"{w}/viga3.caf", "a").write("1  7  0.0  6.0  0.0  -2.5 y\n"), ["viga3"]),
    ("no modes file", "nada.din", lambda w: None, ["viga3", "nada.din"]),
    ("modes file cut short", "viga3.din", lambda w: cut(f"{w}/viga3.din", 0.6), ["viga3", "viga3.din"]),
    ("modes of another model", "viga2h.din", lambda w: None, ["viga3", "viga2h.din"]),
    ("no project", "USO", lambda w: None, []),
    # An output that is an input under another name would replace it.
    ("modes file named like the page", "viga3.html", lambda w: shutil.copy(f"{w}/viga3.din", f"{w}/viga3.html"),
     ["viga3", "viga3.html"]),
    ("modes file named like a picture", "viga3-modo2.svg",
     lambda w: shutil.copy(f"{w}/viga3.din", f"{w}/viga3-modo2.svg"), ["viga3", "viga3-modo2.svg"]),
    ("the page a link to the model", "viga3.dat", lambda w: os.symlink("viga3.dat", f"{w}/viga3.html"), ["viga3"]),
    ("a picture another name of the results", "viga3.res",
     lambda w: os.link(f"{w}/viga3.res", f"{w}/viga3-corte.svg"), ["viga3"]),
]


def snapshot(folder):
    """Every entry of a folder: a link's target, a file's bytes."""
    return {name: os.readlink(path) if os.path.islink(path) else open(path, "rb").read()
            for name in os.listdir(folder) for path in [os.path.join(folder, name)] if not os.path.isdir(path)}


def check_bad_inputs():
    work = tempfile.mkdtemp()
    try:
        for project in ("viga3", "viga2h"):
            for f in glob.glob(os.path.join(EXAMPLES, project + ".*")):
                shutil.copy(f, work)
        analyse(work, "viga3", 0)
        analyse(work, "viga2h", 1)
        for what, named, spoil, args in BAD_INPUTS:
            case = tempfile.mkdtemp(dir=work)
            for f in glob.glob(f"{work}/viga*"):
                shutil.copy(f, case)
            spoil(case)
            before = snapshot(case)
            status, out = run(INFORME, args, case)
            check(status == 1, f"{what}: status {status}")
            check(named in out, f"{what}: the message does not name {named}: {out!r}")
            after = snapshot(case)
            check(after == before, f"{what}: wrote {sorted(n for n in after if after[n] != before.get(n))}")
            if named.endswith(".caf"):
                # The loads file is read by the engine's reader: the same file, the same message.
                status, engine = run(CALCEST, [f"viga3.{e}" for e in ("dat", "res", "caf", "fmc", "bar")] + ["0"], case)
                said = [line for line in engine.splitlines() if line.startswith("ERROR")]
                check(status == 1 and said and said[-1] in out, f"{what}: calcest says {engine!r}, informe {out!r}")
    finally:
        shutil.rmtree(work)


# Files of the user's beside the report, named like the files a run might
# write aside: each stays as it was, a link stays a link.
OTHER_FILES = [
    ("a link to the model named like the page written aside", lambda w: os.symlink("viga3.dat", f"{w}/viga3.html.tmp")),
    ("a user's file named like a picture written aside",
     lambda w: open(f"{w}/viga3-modelo.svg.tmp", "w").write("mine\n")),
]


def check_other_files():
    work = tempfile.mkdtemp()
    try:
        for f in glob.glob(os.path.join(EXAMPLES, "viga3.*")):
            shutil.copy(f, work)
        analyse(work, "viga3", None)
        for what, plant in OTHER_FILES:
            case = tempfile.mkdtemp(dir=work)
            for f in glob.glob(f"{work}/viga3.*"):
                shutil.copy(f, case)
            plant(case)
            before = snapshot(case)
            status, out = run(INFORME, ["viga3"], case)
            check(status == 0, f"{what}: status {status}: {out}")
            after = snapshot(case)
            written = {"viga3.html"} | {f"viga3-{p}.svg" for p in ("modelo", "flecha", "momento", "corte")}
            check(set(after) == set(before) | written, f"{what}: files {sorted(after)}")
            touched = sorted(n for n in before if n not in written and after.get(n) != before[n])
            check(not touched, f"{what}: changed {touched}")
    finally:
        shutil.rmtree(work)


for case in REPORTS:
    check_report(*case)
check_bad_inputs()
check_other_files()
for text in failures:
    print("FAIL", text)
print(f"{len(REPORTS)} reports, {len(BAD_INPUTS)} bad inputs and {len(OTHER_FILES)} other files checked, "
      f"{len(failures)} failures")
sys.exit(1 if failures else 0)
