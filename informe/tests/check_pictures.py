#!/usr/bin/env python3
"""What the pictures of informe show, read back from their SVG files.

Usage: check_pictures.py BUILD_DIR MAKE_BEAM DATA_DIR

Small models are written here and analysed by calcest: a beam with an overhang
(a point force exactly on a station, a point moment between stations, a point
force on the overhang), an L-shaped frame (a column from a fixed base, a beam to
a pin, a horizontal force on the column), a beam of 250 bars from MAKE_BEAM, and
two beams under a uniform load whose deflection beam theory gives in closed form
(spans of 5, 7 and 4 m; one span fixed at both ends), a beam of three bars
with four hundred loads on one of them; DATA_DIR's mixta model has springs, a
hinge and a point moment. Expected values come from statics, beam
theory or the model and results files, never from informe.
"""
import os
import re
import shutil
import sys
import tempfile

from svg_checks import (Cells, Picture, caf_lines, check, dat_geometry, failures, rounds_to, run, same_loads, text_box,
                        translation)

BUILD, MAKE_BEAM, DATA = (os.path.abspath(a) for a in sys.argv[1:4])
CALCEST = os.path.join(BUILD, "calcest", "calcest")
INFORME = os.path.join(BUILD, "informe", "informe")
DIAGRAMS = ("flecha", "momento", "corte")

MATERIAL = "1  0.18 0.0054  0.30  0.60\n1 2.5e6 1.04e6 2.5  1.0e-5\n"
# Pinned at x = 0, roller at x = 6, free end at x = 8 (t and m).
OVERHANG = ("VOLADIZO   1    0\n2 3 2 0 1 1 0 0 0 0.0\n1 0.0 0.0\n2 6.0 0.0\n3 8.0 0.0\n"
            "1 1 2 1 1 1 0\n1.0 0.0 0.0 0 1.0\n2 2 3 1 1 1 0\n1.0 0.0 0.0 0 1.0\n" + MATERIAL +
            "1  110 0.0 0.0\n2  10 0.0\n",
            "1  1  3.0  3.0  0.0  -10.0 y\n1  2  4.1  1.9  0.0  4.0 y\n2  1  1.0  1.0  0.0  -3.0 y\n")
POINT_FORCES = [(3.0, -10.0), (7.0, -3.0)]  # (x, upward force)
POINT_MOMENTS = [(4.1, 4.0)]                 # (x, clockwise moment)
SUPPORTS_X = (0.0, 6.0)
# Column 1-2 (0,0)-(0,4) fixed at its base, beam 2-3 to a pin at (6,4).
FRAME = ("PORTICO   1    0\n2 3 2 0 1 1 0 0 0 0.0\n1 0.0 0.0\n2 0.0 4.0\n3 6.0 4.0\n"
         "1 1 2 1 1 1 0\n1.0 0.0 0.0 0 1.0\n2 2 3 1 1 1 0\n1.0 0.0 0.0 0 1.0\n" + MATERIAL +
         "1  111 0.0 0.0 0.0\n3  110 0.0 0.0\n",
         "2  3  0.0  6.0  0.0  -2.0 y\n1  1  2.0  2.0  0.0  3.0 x\n")


# Concrete in kN and m (deflections in mm): E = 2.5e7 kN/m2, a 0.30 x 0.60 section.
E, I, W = 2.5e7, 0.0054, 25.0


def uniform_beam(title, xs, supports):
    """A beam along x, one bar per span, W kN/m down on every bar; `supports` as model lines."""
    n = len(xs)
    dat = f"{title}   1    1\n{n - 1} {n} {len(supports)} 0 1 1 0 0 0 0.0\n"
    dat += "".join(f"{k} {x} 0.0\n" for k, x in enumerate(xs, 1))
    dat += "".join(f"{k} {k} {k + 1} 1 1 1 0\n1.0 0.0 0.0 0 1.0\n" for k in range(1, n))
    dat += f"1  0.18 {I}  0.30  0.60\n1 {E} 1.04e7 0.0  1.0e-5\n" + "".join(line + "\n" for line in supports)
    caf = "".join(f"{k}  3  0.0  {xs[k] - xs[k - 1]}  0.0  -{W} y\n" for k in range(1, n))
    return dat, caf


def middle_span_sag():
    """Spans of 5, 7 and 4 m on four simple supports: the lowest point of the 7 m span (mm, and m from its
    left end). The three-moment equation gives the support moments; the span is a simple beam under its load
    and those end moments (sagging positive)."""
    l1, l2, l3 = 5.0, 7.0, 4.0
    a, b, c, d = 2 * (l1 + l2), l2, l2, 2 * (l2 + l3)
    r1, r2 = -W * (l1 ** 3 + l2 ** 3) / 4, -W * (l2 ** 3 + l3 ** 3) / 4
    mb, mc = (r1 * d - b * r2) / (a * d - b * c), (a * r2 - c * r1) / (a * d - b * c)

    def down(x):
        return (W * x * (l2 ** 3 - 2 * l2 * x ** 2 + x ** 3) / 24 + mb * x * (l2 - x) * (2 * l2 - x) / (6 * l2)
                + mc * x * (l2 ** 2 - x ** 2) / (6 * l2)) / (E * I)
    x = max((l2 * k / 70000 for k in range(70001)), key=down)
    return -1000 * down(x), x


def fixed_span_sag(span):
    """A span fixed at both ends: w L^4 / (384 E I) at mid-span."""
    return -1000 * W * span ** 4 / (384 * E * I), span / 2


# (project, model and loads, the span's end nodes, its lowest point in mm and m from its left end)
SAGS = [
    ("continua", uniform_beam("CONTINUA", [0.0, 5.0, 12.0, 16.0], ["1  110 0.0 0.0", "2  10 0.0", "3  10 0.0",
                                                                  "4  10 0.0"]), (2, 3), middle_span_sag()),
    ("empotrada", uniform_beam("EMPOTRADA", [0.0, 6.0], ["1  111 0.0 0.0 0.0", "2  111 0.0 0.0 0.0"]), (1, 2),
     fixed_span_sag(6.0)),
]


def statics(x, right):
    """Shear and moment of the overhang beam at x (sagging and left-part-up positive)."""
    rb = (sum(m for _, m in POINT_MOMENTS) - sum(p * a for a, p in POINT_FORCES)) / SUPPORTS_X[1]
    ra = -sum(p for _, p in POINT_FORCES) - rb
    forces = [(SUPPORTS_X[0], ra), (SUPPORTS_X[1], rb)] + POINT_FORCES
    acting = [(a, p) for a, p in forces if a < x or (right and a == x)]
    couples = [m for a, m in POINT_MOMENTS if a < x or (right and a == x)]
    return sum(p for _, p in acting), sum(p * (x - a) for a, p in acting) + sum(couples)


def analysed(work, name, dat, caf):
    with open(f"{work}/{name}.dat", "w") as f:
        f.write(dat)
    with open(f"{work}/{name}.caf", "w") as f:
        f.write(caf)
    return report(work, name)


def report(work, name):
    status, out = run(CALCEST, [f"{name}.{e}" for e in ("dat", "res", "caf", "fmc", "bar")] + ["0"], work)
    check(status == 0, f"{name}: calcest {status}: {out}")
    status, out = run(INFORME, [name], work)
    check(status == 0, f"{name}: informe {status}: {out}")
    return {p: Picture(f"{work}/{name}-{p}.svg") for p in ("modelo",) + DIAGRAMS}


def ordinate(pic, start, end, point):
    """(distance along the bar from its start in model units, offset to its upper side in value units)."""
    (ax, ay), (bx, by) = start, end
    length = ((bx - ax) ** 2 + (by - ay) ** 2) ** 0.5
    ux, uy = (bx - ax) / length, (by - ay) / length
    dx, dy = point[0] - ax, point[1] - ay
    return (dx * ux + dy * uy) / pic.scale, (dx * uy - dy * ux) / pic.value_scale


def jump_at(pic, bar, x, cls):
    """Values left and right of x on a bar's diagram: two successive points there, or None."""
    points = pic.polygons(cls)[bar]
    along = [ordinate(pic, points[0], points[-1], p) for p in points[1:-1]]
    for (x1, v1), (x2, v2) in zip(along, along[1:]):
        if abs(x1 - x) < 0.005 and abs(x2 - x) < 0.005:
            return v1, v2
    return None


def check_jumps(pics):
    """Shear and moment jump vertically, at the load's exact abscissa, by the statics' values."""
    cases = [("corte", 1, 3.0, 0, 1), ("momento", 1, 4.1, 1, -1), ("corte", 2, 1.0, 0, 1)]
    for kind, bar, x, which, sign in cases:
        offset = 6.0 if bar == 2 else 0.0
        expected = (statics(offset + x, False)[which], statics(offset + x, True)[which])
        drawn = jump_at(pics[kind], bar, x, "curva-" + kind)
        check(drawn is not None and all(abs(sign * d - e) < 0.01 for d, e in zip(drawn, expected)),
              f"overhang {kind}: at x = {x} of bar {bar} drawn {drawn}, statics {expected}")


def check_frame(pics, res_path):
    """The column's diagrams stand along it, offsets horizontal; the corner moment turns with the frame."""
    with open(res_path) as f:
        rows = [line.split() for line in f]
    m_base, m_top = float(rows[4][3]), float(rows[4][4])  # bar 1, from node 1 to node 2
    corte, momento = pics["corte"], pics["momento"]
    column = corte.polygons("curva-corte")[1]
    base, top = corte.screen(0, 0), corte.screen(0, 4)
    check(abs(column[0][0] - base[0]) < 0.01 and abs(column[-1][0] - top[0]) < 0.01 and
          abs(column[0][1] - base[1]) < 0.01 and abs(column[-1][1] - top[1]) < 0.01,
          f"frame: the column's shear is not drawn on the column: {column[0]} {column[-1]}")
    step = [(p, q) for p, q in zip(column[1:-1], column[2:-1]) if abs(p[1] - corte.screen(0, 2)[1]) < 0.01 and
            abs(q[1] - p[1]) < 0.01]
    check(len(step) == 1 and abs(abs(step[0][0][0] - step[0][1][0]) - 3.0 * corte.value_scale) < 0.05,
          f"frame: no horizontal step of 3 in the column's shear at its mid-height: {step}")
    column, beam = momento.polygons("curva-momento")[1], momento.polygons("curva-momento")[2]
    corner = momento.screen(0, 4)
    # Negative moments stretch the column's left face and the beam's top.
    check(abs(column[-2][1] - corner[1]) < 0.01 and abs(column[-2][0] - corner[0] - m_top * momento.value_scale) < 0.05,
          f"frame: column top moment drawn at {column[-2]}, corner {corner}, M {m_top}")
    check(abs(beam[1][0] - corner[0]) < 0.01 and abs(beam[1][1] - corner[1] - m_top * momento.value_scale) < 0.05,
          f"frame: beam start moment drawn at {beam[1]}, corner {corner}, M {m_top}")
    check(abs(column[1][0] - momento.screen(0, 0)[0] - m_base * momento.value_scale) < 0.05,
          f"frame: column base moment drawn at {column[1]}, M {m_base}")


def check_displaced_shape(name, pic, nodes, bars, fixed):
    """Bars meeting at a node move together; a node held by its support stays."""
    shapes = pic.polygons("curva-flecha")
    ends = {}
    for label, i, j in bars:
        points = shapes[label][1:-1]
        ends.setdefault(i, []).append(points[0])
        ends.setdefault(j, []).append(points[-1])
    for node, points in ends.items():
        check(all(abs(p[0] - points[0][0]) < 0.05 and abs(p[1] - points[0][1]) < 0.05 for p in points),
              f"{name}: the bars part at node {node}: {points}")
        if node in fixed:
            X, Y = pic.screen(*nodes[node])
            check(abs(points[0][0] - X) < 0.05 and abs(points[0][1] - Y) < 0.05,
                  f"{name}: held node {node} drawn moved to {points[0]}, at {X},{Y}")


def check_column_sway(pic, fmc_path):
    """The column top moves sideways by the transverse displacement the diagram file gives there."""
    with open(fmc_path) as f:
        rows = [line.split() for line in f][1:]
    sway = -float(rows[20][1])  # the column's local y points to −x
    top = pic.polygons("curva-flecha")[1][-2]
    X, _ = pic.screen(0, 4)
    check(abs(top[0] - X - sway * pic.value_scale) < 0.1, f"frame: column top at {top[0]}, expected {X} + {sway} mm")


def check_texts(name, pics, nodes):
    """Node labels by their nodes, supports at theirs, no text over another, no signed zero, a value once where it is."""
    for kind, pic in pics.items():
        where = f"{name}-{kind}"
        for g in pic.elements("g", "apoyo"):
            X, Y = translation(g)
            x, y = pic.screen(*nodes[int(g.get("data-nodo"))])
            check(abs(X - x) < 0.01 and abs(Y - y) < 0.01, f"{where}: support of node {g.get('data-nodo')} at {X},{Y}")
        texts = pic.texts()
        for text, cls, x, y, _ in texts:
            if cls == "etiqueta-nodo":
                X, Y = pic.screen(*nodes[int(text[1:])])
                check(((x - X) ** 2 + (y - Y) ** 2) ** 0.5 < 50, f"{where}: label {text} at {x},{y}, node at {X},{Y}")
            check(not re.search(r"(?<![\d.])-0(\.0+)?(?![\d.])", text), f"{where}: signed zero in '{text}'")
        values = [(t, x, y) for t, c, x, y, _ in texts if c == "valor"]
        for k, (t1, x1, y1) in enumerate(values):
            check(not any(t1 == t2 and abs(x1 - x2) + abs(y1 - y2) < 30 for t2, x2, y2 in values[k + 1:]),
                  f"{where}: '{t1}' labelled twice at {x1},{y1}")
        boxes = [(t, text_box(t, c, x, y, a)) for t, c, x, y, a in texts]
        for k, (t1, a) in enumerate(boxes):
            for t2, b in boxes[k + 1:]:
                check(not (a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]), f"{where}: '{t1}' over '{t2}'")


def check_sag(name, pic, nodes, span, expected, at):
    """The span's lowest point is marked where beam theory puts it, labelled with its value."""
    (left, _), (right, _) = nodes[span[0]], nodes[span[1]]
    dots = [(float(c.get("cx")), float(c.get("cy"))) for c in pic.elements("circle", "extremo")
            if pic.screen(left, 0)[0] < float(c.get("cx")) < pic.screen(right, 0)[0]]
    if not check(dots, f"{name}: no extreme marked between nodes {span}"):
        return
    dot = max(dots, key=lambda d: d[1])
    text = min((t for t in pic.texts() if t[1] == "valor"), key=lambda t: abs(t[2] - dot[0]) + abs(t[3] - dot[1]))[0]
    check(rounds_to(text, expected), f"{name}: the span's lowest point labelled {text}, beam theory gives {expected:.5f}")
    check(abs(dot[0] - pic.screen(left + at, 0)[0]) < 0.5,
          f"{name}: the lowest point marked at {dot[0]}, beam theory puts it at {pic.screen(left + at, 0)[0]}")

def check_supports_drawn(name, pics, supports):
    for kind, pic in pics.items():
        drawn = sorted(int(g.get("data-nodo")) for g in pic.elements("g", "apoyo"))
        check(drawn == sorted(supports), f"{name}-{kind}: supports drawn at {drawn}, model {supports}")


def check_long_beam(pics, bars):
    """250 bars: a picture wide enough for its spans, values at the supports and the extremes only."""
    for kind in DIAGRAMS:
        pic = pics[kind]
        width = float(pic.root.get("width"))
        values = [t for t in pic.texts() if t[1] == "valor"]
        check(width >= 40 * bars, f"long beam {kind}: {width} pixels wide for {bars} spans")
        check(len(values) <= 2 * (bars + 1) + 2, f"long beam {kind}: {len(values)} values labelled")


# Loads added to the middle bar of a beam of three 5 m bars: most of them
# point loads, each at its own place.
MANY, LOADED = 400, 2


def many_loads(length=5.0):
    """Lines of the loads file for bar LOADED: every kind, spread by the golden ratio."""
    lines = []
    for k in range(MANY):
        kind, q = (1, 1, 2, 1, 3, 1, 4, 2, 5, 6)[k % 10], (k % 9 - 4) * 1.5 + 0.5
        a = round(length * (k * 0.6180339887 % 1), 4)
        if kind in (1, 2):
            lines.append(f"{LOADED}  {kind}  {a}  {round(length - a, 4)}  0.0  {q} y\n")
        elif kind == 6:
            lines.append(f"{LOADED}  6  0.0  0.0  0.0  {q} y\n")
        else:
            c = round((length - a) / 2, 4)
            lines.append(f"{LOADED}  {kind}  {a}  {c}  {round(length - a - c, 4)}  {q} y\n")
    return lines


def check_many_loads(work, name, pics):
    """A few symbols stand for the loaded bar's loads, each kind once with how many it stands for; the other
    bars' loads are drawn one by one; the diagrams pass through a bounded number of points of the loaded bar;
    the page's loads table lists every load."""
    lines = caf_lines(f"{work}/{name}.caf")
    symbols = [g for g in pics["modelo"].elements("g") if g.get("class") in ("carga", "carga resumen")]
    for bar in (1, 2, 3):
        drawn = [g for g in symbols if g.get("data-barra") == str(bar)]
        given = sum(1 for line in lines if int(line[0]) == bar)
        kinds = [(g.get("data-tipo"), g.get("data-dir")) for g in drawn if g.get("class") == "carga resumen"]
        check(sum(int(g.get("data-cuenta", "1")) for g in drawn) == given,
              f"{name}: the symbols of bar {bar} stand for {[g.get('data-cuenta', '1') for g in drawn]} loads, "
              f"the file has {given}")
        check(len(kinds) == len(set(kinds)), f"{name}: a kind of load drawn twice on bar {bar}: {kinds}")
        check(len(drawn) <= (8 if bar == LOADED else given), f"{name}: {len(drawn)} load symbols on bar {bar}")
    # Stations, two hundred points spread, two jumps both sides; the deflected shape 40 more and its turns.
    for kind, most in (("momento", 240), ("corte", 240), ("flecha", 280)):
        points = pics[kind].polygons("curva-" + kind)[LOADED]
        check(len(points) <= most, f"{name} {kind}: {len(points)} points drawn on the loaded bar")
    with open(f"{work}/{name}.html", "rb") as f:
        cells = Cells()
        cells.feed(f.read().decode("ascii"))
    check(same_loads(cells, lines), f"{name}: the loads table does not list the loads file")


def check_mixta_symbols(pic):
    """Springs with their units; the hinge on its bar's end, not on the node; a positive point moment clockwise."""
    texts = [t[0] for t in pic.texts()]
    for note in ("ky=50000 kN/m", "kz=8000 kN\u00b7m/rad"):
        check(any(note in t for t in texts), f"mixta: no spring note '{note}' in {texts}")
    hinged = [g for g in pic.elements("g", "elemento") if g.get("data-barra") == "2"][0]
    circles = [c for c in hinged if c.tag.endswith("circle")]
    X, Y = pic.screen(9.0, 0.0)  # node 3, bar 2's end J (type 3)
    check(len(circles) == 1 and 3 < X - float(circles[0].get("cx")) < 15 and abs(float(circles[0].get("cy")) - Y) < 0.01,
          f"mixta: hinge of bar 2 drawn at {[c.attrib for c in circles]}, node 3 at {X},{Y}")
    check(len(pic.elements("circle", "nodo")) == 4, "mixta: every node a dot")
    style = "".join(e.text for e in pic.elements("style"))
    fills = {cls: re.search(r"\." + cls + r"\{[^}]*fill:([^;}]+)", style) for cls in ("nodo", "rotula")}
    check(fills["nodo"] and fills["nodo"].group(1) not in ("#fff", "none", "white") and
          fills["rotula"] and fills["rotula"].group(1) in ("#fff", "none", "white"),
          f"mixta: nodes must be filled dots and hinges open circles: {fills}")
    moment = [g for g in pic.elements("g", "carga") if g.get("data-tipo") == "2"][0]
    tip = [p for p in moment if p.get("class") == "punta"][0].get("points").split()[0]
    check(float(tip.split(",")[1]) < 0, f"mixta: the positive point moment's arrow is not on top (clockwise): {tip}")


def attempt(what, *args):
    """One check; a picture it cannot read at all fails it too."""
    try:
        what(*args)
    except (KeyError, IndexError, ValueError, TypeError, ZeroDivisionError) as error:
        check(False, f"{what.__name__}: the picture lacks what it should show ({error!r})")


def main():
    work = tempfile.mkdtemp()
    try:
        pics = analysed(work, "voladizo", *OVERHANG)
        nodes, bars = dat_geometry(f"{work}/voladizo.dat")
        attempt(check_jumps, pics)
        attempt(check_supports_drawn, "overhang", pics, [1, 2])
        attempt(check_displaced_shape, "overhang", pics["flecha"], nodes, bars, {1, 2})
        attempt(check_texts, "overhang", pics, nodes)
        pics = analysed(work, "portico", *FRAME)
        nodes, bars = dat_geometry(f"{work}/portico.dat")
        attempt(check_frame, pics, f"{work}/portico.res")
        attempt(check_supports_drawn, "frame", pics, [1, 3])
        attempt(check_displaced_shape, "frame", pics["flecha"], nodes, bars, {1, 3})
        attempt(check_column_sway, pics["flecha"], f"{work}/portico.fmc")
        attempt(check_texts, "frame", pics, nodes)
        status, out = run(sys.executable, [MAKE_BEAM, "250", "viga250"], work)
        check(status == 0, f"make-beam: {out}")
        pics = report(work, "viga250")
        nodes, bars = dat_geometry(f"{work}/viga250.dat")
        attempt(check_long_beam, pics, len(bars))
        attempt(check_texts, "long beam", pics, nodes)
        status, out = run(sys.executable, [MAKE_BEAM, "3", "muchas"], work)
        check(status == 0, f"make-beam: {out}")
        with open(f"{work}/muchas.caf", "a") as f:
            f.writelines(many_loads())
        pics = report(work, "muchas")
        attempt(check_many_loads, work, "muchas", pics)
        attempt(check_texts, "many loads", pics, dat_geometry(f"{work}/muchas.dat")[0])
        for name, (dat, caf), span, (expected, at) in SAGS:
            pics = analysed(work, name, dat, caf)
            nodes, _ = dat_geometry(f"{work}/{name}.dat")
            attempt(check_sag, name, pics["flecha"], nodes, span, expected, at)
            attempt(check_texts, name, pics, nodes)
        for f in ("mixta.dat", "mixta.caf"):
            shutil.copy(os.path.join(DATA, f), work)
        pics = report(work, "mixta")
        attempt(check_mixta_symbols, pics["modelo"])
        attempt(check_texts, "mixta", pics, dat_geometry(f"{work}/mixta.dat")[0])
    finally:
        shutil.rmtree(work)
    for text in failures[:60]:
        print("FAIL", text)
    print(f"{len(failures)} failures")
    sys.exit(1 if failures else 0)


main()
