#!/usr/bin/env python3
"""Writes the force tables (.esf) of the example projects.

The beam has two equal spans of 6 m, pinned at both ends and continuous over the
middle support, EI constant, self-weight 0.3 t/m (0.125 m2 x 2.4 t/m3). The
support moment follows from the compatibility of rotations (the unit-moment
diagram integrated against the simple-beam moments, exact by Simpson's rule
piecewise between load points); shears and moments then follow from statics.

Columns of each row: point index, x, Qi (shear left of the point), Qd (shear
right), Mfi (moment left), Mfd (moment right), CC (not used here: 0), Mf.
Shear is the sum of the forces left of the section, upward positive; moments
sag positive.
"""
import sys

SPAN = 6.0
SELF_WEIGHT = 0.3

# Per project: list of loads (span 1 or 2, kind, position in the span, value);
# value < 0 is downward for forces; couples as written in the loads file.
PROJECTS = {
    "env_a": [(1, "uniform", 0.0, -2.0), (2, "uniform", 0.0, -2.0)],
    "env_b": [(1, "uniform", 0.0, -2.0)],
    "env_c": [(1, "couple", 2.4, 4.0), (2, "force", 3.0, -8.0)],
}


def simple_beam(loads, x_local, side):
    """Moment and shear of a simple span at x_local; side -1/+1 picks the value
    just left/right of a concentrated action."""
    L = SPAN
    m = v = 0.0
    for kind, a, value in loads:
        if kind == "uniform":
            w = -value
            m += w * x_local * (L - x_local) / 2
            v += w * (L / 2 - x_local)
        elif kind == "force":
            P = -value
            right = x_local > a or (x_local == a and side > 0)
            if right:
                m += P * a * (L - x_local) / L
                v += -P * a / L
            else:
                m += P * (L - a) * x_local / L
                v += P * (L - a) / L
        elif kind == "couple":
            C = value
            right = x_local > a or (x_local == a and side > 0)
            m += C * (1 - x_local / L) if right else -C * x_local / L
            v += -C / L
    return m, v


def span_loads(project, span):
    loads = [("uniform", 0.0, -SELF_WEIGHT)]
    loads += [(k, a, q) for s, k, a, q in PROJECTS[project] if s == span]
    return loads


def unit_moment(x):
    return x / SPAN if x <= SPAN else (2 * SPAN - x) / SPAN


def support_moment(project):
    total = 0.0
    for span in (1, 2):
        loads = span_loads(project, span)
        cuts = sorted({0.0, SPAN} | {a for k, a, q in loads if k != "uniform"})
        for lo, hi in zip(cuts, cuts[1:]):
            n = 200
            h = (hi - lo) / n
            acc = 0.0
            for i in range(n + 1):
                xl = lo + i * h
                # Inside the piece: take the side facing the piece.
                side = 1 if i == 0 else -1
                m0, _ = simple_beam(loads, xl, side)
                weight = 1 if i in (0, n) else (4 if i % 2 else 2)
                acc += weight * m0 * unit_moment(xl + (span - 1) * SPAN)
            total += acc * h / 3
    return -total / (2 * SPAN / 3)


def forces(project, x, side):
    X = support_moment(project)
    span = 1 if (x < SPAN or (x == SPAN and side < 0)) else 2
    xl = x - (span - 1) * SPAN
    m0, v0 = simple_beam(span_loads(project, span), xl, side)
    slope = 1 / SPAN if span == 1 else -1 / SPAN
    return m0 + X * unit_moment(x), v0 + X * slope


def table(project):
    n = 40
    rows = [f"{n}"]
    for i in range(n + 1):
        x = round(i * 2 * SPAN / n, 10)
        ml, ql = forces(project, x, -1)
        mr, qr = forces(project, x, +1)
        if i == 0:
            ql, ml = 0.0, 0.0
        if i == n:
            qr, mr = 0.0, 0.0
        rows.append(f"{i} {x:.4f} {ql:.4f} {qr:.4f} {ml:.4f} {mr:.4f} 0.0000 {ml:.4f}")
    return "\n".join(rows) + "\n"


if __name__ == "__main__":
    for name in PROJECTS:
        with open(f"{name}.esf", "w") as out:
            out.write(table(name))
        if "-v" in sys.argv:
            print(name, "support moment", round(support_moment(name), 6))
