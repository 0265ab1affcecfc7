"""What the informe end-to-end checks share: running the programs, reading a
model file's geometry and its loads, reading a picture back (its frame, texts
and polygons) and the page's tables."""
import html.parser
import re
import os
import subprocess
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"
failures = []


def check(condition, text):
    if not condition:
        failures.append(text)
    return condition


def run(program, args, cwd):
    """Status and console of a run, the console in the files' character set (C locale)."""
    done = subprocess.run([program] + args, cwd=cwd, stdin=subprocess.DEVNULL, env=dict(os.environ, LC_ALL="C"),
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    return done.returncode, done.stdout.decode("cp1252")


def rounds_to(text, value):
    """A picture's label: the value rounded to the label's decimals, without a sign on zero."""
    decimals = len(text.split(".")[1]) if "." in text else 0
    return (re.fullmatch(r"-?\d+(\.\d+)?", text) is not None and not re.fullmatch(r"-0(\.0*)?", text)
            and abs(float(text) - float(value)) <= 0.5 * 10 ** -decimals + 1e-9)


def model_tokens(path):
    with open(path, "rb") as f:
        return f.read().decode("cp1252").split()


def dat_geometry(path):
    """Nodes {label: (x, y)} and bars [(label, labelI, labelJ)] in file order."""
    t = model_tokens(path)
    nb, nn = int(t[3]), int(t[4])
    nodes, at = {}, 13
    for _ in range(nn):
        nodes[int(t[at])] = (float(t[at + 1]), float(t[at + 2]))
        at += 3
    bars = []
    for _ in range(nb):
        bars.append((int(t[at]), int(t[at + 1]), int(t[at + 2])))
        at += 12
    return nodes, bars


def translation(group):
    m = re.search(r"translate\(([-0-9.]+),([-0-9.]+)\)", group.get("transform", ""))
    return float(m.group(1)), float(m.group(2))


class Cells(html.parser.HTMLParser):
    """Every element with a data-fuente attribute, its tag and its text; table rows by table id."""

    def __init__(self):
        super().__init__()
        self.cells, self.rows, self.stack, self.table = [], {}, [], None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "table":
            self.table = attrs.get("id")
            self.rows[self.table] = []
        if tag == "tr" and self.table:
            self.rows[self.table].append([])
        if tag == "td" and self.table:
            self.rows[self.table][-1].append(attrs)
        self.stack.append((attrs, []))

    def handle_data(self, data):
        for _, text in self.stack:
            text.append(data)

    def handle_endtag(self, tag):
        attrs, text = self.stack.pop()
        if "data-fuente" in attrs:
            self.cells.append((tag, attrs, "".join(text).strip()))
        if tag == "td" and self.table:
            self.rows[self.table][-1][-1]["text"] = "".join(text).strip()
        if tag == "table":
            self.table = None


def caf_lines(path):
    t = model_tokens(path)
    return [t[i:i + 7] for i in range(0, len(t), 7)]


def same_loads(cells, lines):
    """Whether the page's loads table lists the loads file's lines, each once and in order (a, c, b, q)."""
    return ([[float(c["text"]) for c in r[2:6]] for r in cells.rows["cargas"][1:]] ==
            [[float(v) for v in line[2:6]] for line in lines])


class Picture:
    """An SVG picture of informe with its model-to-screen frame."""

    def __init__(self, path):
        self.root = ET.parse(path).getroot()
        # A picture without its frame reads as nowhere: every position check fails.
        self.scale, self.x0, self.y0, self.value_scale = (
            float(self.root.get(k, "nan")) for k in ("data-escala", "data-x0", "data-y0", "data-escala-valor"))

    def screen(self, x, y):
        return self.x0 + x * self.scale, self.y0 - y * self.scale

    def elements(self, tag, cls=None):
        return [e for e in self.root.iter(SVG + tag) if cls is None or e.get("class") == cls]

    def polygons(self, cls):
        """Points of each bar's polygon of class `cls`, by bar label."""
        return {int(p.get("data-barra")): [tuple(map(float, xy.split(","))) for xy in p.get("points").split()]
                for p in self.elements("polygon", cls) if p.get("data-barra")}

    def texts(self, element=None, offset=(0.0, 0.0)):
        """(text, class, x, y, anchor) of every text element, where a group's translation puts it."""
        out = []
        for child in self.root if element is None else element:
            if child.tag == SVG + "text":
                out.append(("".join(child.itertext()), child.get("class", ""), offset[0] + float(child.get("x")),
                            offset[1] + float(child.get("y")), child.get("text-anchor", "start")))
            elif child.tag == SVG + "g":
                moved = translation(child) if "translate" in child.get("transform", "") else (0.0, 0.0)
                out += self.texts(child, (offset[0] + moved[0], offset[1] + moved[1]))
        return out


FONT_SIZES = {"titulo": 14, "valor": 11, "texto-apoyo": 11, "texto-carga": 11, "texto-cota": 11}


def text_box(text, cls, x, y, anchor):
    """A text's box: its width guessed from its length (sans-serif, about 0.6 of the size a character)."""
    size = FONT_SIZES.get(cls, 12)
    width = 0.6 * size * len(text)
    left = x - width / 2 if anchor == "middle" else x - width if anchor == "end" else x
    return left, y - 0.75 * size, left + width, y + 0.2 * size
