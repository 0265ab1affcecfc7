#!/usr/bin/env python3
"""Draws the six bar load types of the loads file as SVG pictures.

Usage: make-figures.py OUTPUT_DIR   (writes carga1.svg ... carga6.svg)
"""
import sys
from pathlib import Path

W, H, X0, X1, Y = 360, 150, 40, 320, 100  # picture size, bar ends, bar axis


def svg(body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d" '
            'font-family="sans-serif" font-size="13">\n%s</svg>\n' % (W, H, W, H, body))


def line(x1, y1, x2, y2, extra=""):
    return '<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="black" %s/>\n' % (x1, y1, x2, y2, extra)


def text(x, y, s, anchor="middle"):
    return '<text x="%g" y="%g" text-anchor="%s">%s</text>\n' % (x, y, anchor, s)


def arrow(x, y_from, y_to):
    """Vertical arrow whose head is at y_to."""
    d = 6 if y_to > y_from else -6
    return line(x, y_from, x, y_to) + '<path d="M%g %g l-4 %g l8 0 z"/>\n' % (x, y_to, -d)


def beam():
    out = line(X0, Y, X1, Y, 'stroke-width="3"')
    for x, name in ((X0, "I"), (X1, "J")):
        out += '<circle cx="%g" cy="%g" r="4"/>\n' % (x, Y) + text(x, Y + 20, name)
    return out


def dimension(xa, xb, label, y=Y + 38):
    """Distance from xa to xb with its name."""
    return (line(xa, y - 5, xa, y + 5) + line(xb, y - 5, xb, y + 5) + line(xa, y, xb, y) +
            text((xa + xb) / 2, y - 4, label))


def distributed(xa, xb, start, end, name):
    """Load from xa to xb whose arrow lengths go from start to end (0..1)."""
    out, n = "", 8
    for k in range(n + 1):
        x = xa + (xb - xa) * k / n
        h = 45 * (start + (end - start) * k / n)
        if h > 1:
            out += arrow(x, Y - 8 - h, Y - 8)
    out += line(xa, Y - 8 - 45 * start, xb, Y - 8 - 45 * end)
    return out + text((xa + xb) / 2, 32, name)


def figure(kind):
    a, c = 130, 240
    out = beam()
    if kind == 1:
        out += arrow(a, 30, Y - 6) + text(a + 12, 40, "q", "start")
        out += dimension(X0, a, "a") + dimension(a, X1, "c")
    elif kind == 2:
        out += '<path d="M%g %g a22 22 0 1 1 -20 -10" fill="none" stroke="black"/>\n' % (a + 18, Y - 12)
        out += '<path d="M%g %g l-2 -8 l8 4 z"/>\n' % (a - 2, Y - 22) + text(a, 50, "q (clockwise)")
        out += dimension(X0, a, "a") + dimension(a, X1, "c")
    elif kind in (3, 4, 5):
        shape = {3: (1, 1, "q"), 4: (0, 1, "0 to q"), 5: (1, 0, "q to 0")}[kind]
        out += distributed(a, c, *shape)
        out += dimension(X0, a, "a") + dimension(a, c, "c") + dimension(c, X1, "b")
    else:
        out += line(X0, Y - 8, X1, Y - 8, 'stroke="red" stroke-dasharray="6 4"')
        out += line(X0, Y + 8, X1, Y + 8, 'stroke="blue" stroke-dasharray="6 4"')
        out += text((X0 + X1) / 2, 50, "q = temperature difference between the faces")
    return svg(out)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for kind in range(1, 7):
        (out / ("carga%d.svg" % kind)).write_text(figure(kind), encoding="utf-8")


if __name__ == "__main__":
    main()
