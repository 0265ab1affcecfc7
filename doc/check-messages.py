#!/usr/bin/env python3
"""Checks the guide's message table against the programs' sources.

A message is a text that reaches the person through one of the programs'
output channels (a RunError, a console write, an envelope message, a message
box). The texts are collected from the sources, following the named constants,
the functions and the local variables that such a call names. Both directions
are checked: every collected text must appear in the guide's table, and every
row of the table must still exist in the sources. Variable parts are written
as "…" in the table; printf conversions count as such parts.

Usage: check-messages.py SOURCE_DIR GUIDE.md    (exit status 1 on any mismatch)
"""
import re
import sys
from pathlib import Path

PROGRAM_DIRS = ["common", "guicommon", "calcest", "calcdin", "envolventes", "lanzador", "webrix", "projectfiles", "informe", "alternancias", "armado"]
CHANNEL = re.compile(r"\b(?:RunError|consoleWrite|showMessage|wxMessageBox|messageBox|refuse|DrawText|console\.write)\s*\(")
CONVERSION = re.compile(r"%[-+ #0]*(?:\d+|\*)?(?:\.\d+)?(?:hh|h|ll|l|z|L)?[diouxXfFeEgGcsp]|%\d")
IDENT = re.compile(r"\b([A-Za-z_]\w*)\b(\s*\()?")
ESCAPES = {"n": "\n", "t": "\t", '"': '"', "\\": "\\", "'": "'", "0": "\0"}


def decode(body):
    """C string literal body (Windows-1252 escapes) to text."""
    out, i = bytearray(), 0
    while i < len(body):
        c = body[i]
        if c == "\\":
            if body[i + 1] == "x":
                m = re.match(r"[0-9A-Fa-f]{1,2}", body[i + 2:])
                out.append(int(m.group(0), 16))
                i += 2 + len(m.group(0))
                continue
            out += ESCAPES.get(body[i + 1], body[i + 1]).encode("cp1252")
            i += 2
            continue
        out.append(ord(c))  # the file is read as Latin-1: one char per byte
        i += 1
    try:
        return out.decode("utf-8")
    except UnicodeDecodeError:
        return out.decode("cp1252", errors="replace")


def normalize(text):
    text = CONVERSION.sub("\u2026", text.replace("%%", "%"))
    return " ".join(text.split())


class Source:
    """One file with comments removed and each run of adjacent literals replaced by @N@."""

    def __init__(self, path):
        self.path = path
        text = path.read_text(encoding="latin-1")
        self.literals, code, i = [], [], 0
        pattern = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:[^"\\\n]|\\.)*"|\'(?:[^\'\\\n]|\\.)*\'', re.S)
        for m in pattern.finditer(text):
            code.append(text[i:m.start()])
            token = m.group(0)
            if token.startswith('"'):
                # A literal right after another (only blanks between) continues it.
                previous = "@%d@" % (len(self.literals) - 1)
                if self.literals and code[-1].strip() == "" and code[-2:-1] == [previous]:
                    code.pop()
                    self.literals[-1] = (self.literals[-1][0] + decode(token[1:-1]), self.literals[-1][1])
                else:
                    self.literals.append((decode(token[1:-1]), text.count("\n", 0, m.start()) + 1))
                code.append("@%d@" % (len(self.literals) - 1))
            elif token.startswith("'"):
                code.append("' '")
            else:
                code.append("\n" * token.count("\n"))
            i = m.end()
        code.append(text[i:])
        self.code = "".join(code)

    def span_literals(self, start, end):
        return [int(n) for n in re.findall(r"@(\d+)@", self.code[start:end])]


def matching(code, open_at, opener="(", closer=")"):
    depth = 0
    for j in range(open_at, len(code)):
        if code[j] == opener:
            depth += 1
        elif code[j] == closer:
            depth -= 1
            if depth == 0:
                return j
    return len(code)


def collect(sources):
    """(text, where) of every message piece reachable from a channel call."""
    found, seen = [], set()

    def take(src, start, end, depth):
        for n in src.span_literals(start, end):
            found.append((src.literals[n][0], "%s:%d" % (src.path, src.literals[n][1])))
        if depth > 3:
            return
        for m in IDENT.finditer(src.code[start:end]):
            resolve(m.group(1), bool(m.group(2)), src, depth + 1)

    def resolve(name, called, here, depth):
        if (name, here.path if not called else None) in seen or name in ("formatText", "ui"):
            return
        seen.add((name, here.path if not called else None))
        for src in sources:
            if called:
                for m in re.finditer(r"\b%s\s*\([^;{}]*?\)\s*(?:const\s*)?\{" % re.escape(name), src.code):
                    body_end = matching(src.code, m.end() - 1, "{", "}")
                    for r in re.finditer(r"\breturn\b[^;]*;", src.code[m.end():body_end]):
                        take(src, m.end() + r.start(), m.end() + r.end(), depth)
            elif name.startswith("k") and name[1:2].isupper() or src is here:
                for m in re.finditer(r"\b%s\s*(?:\[\])?\s*=[^=;][^;]*;" % re.escape(name), src.code):
                    take(src, m.start(), m.end(), depth)

    for src in sources:
        for m in CHANNEL.finditer(src.code):
            take(src, m.end() - 1, matching(src.code, m.end() - 1) + 1, 0)
        # Error texts kept in tables or structures count wherever they stand.
        found += [(text, "%s:%d" % (src.path, line)) for text, line in src.literals
                  if re.match(r"\s*error", text, re.I)]
    return found


def table_rows(guide):
    """Messages of the first column of the message tables (one per code span)."""
    rows, inside = [], False
    for line in guide.read_text(encoding="utf-8").splitlines():
        if line.startswith("# "):
            inside = line.strip().endswith("Messages")
        elif inside and line.startswith("|"):
            cell = line.split(" | ")[0]
            rows += [normalize(span) for span in re.findall(r"`([^`]+)`", cell)]
    return rows


def main():
    root, guide = Path(sys.argv[1]), Path(sys.argv[2])
    sources = [Source(p) for d in PROGRAM_DIRS for p in sorted((root / d).rglob("*"))
               if p.suffix in (".cpp", ".h") and "tests" not in p.parts and "testing" not in p.parts]
    rows = table_rows(guide)
    everything = [normalize(text) for src in sources for text, _ in src.literals]
    problems = 0
    reported = set()
    for text, where in collect(sources):
        piece = normalize(text)
        # Single words are file names, extensions and captions, not messages.
        if " " not in piece or len(re.findall(r"[^\W\d_]", piece)) < 3 or piece in reported:
            continue
        if not any(piece in row for row in rows):
            reported.add(piece)
            problems += 1
            print("message missing from the guide's table: %r  (%s)" % (piece, where))
    for row in rows:
        for piece in (p.strip() for p in row.split("\u2026")):
            if len(re.findall(r"[^\W\d_]", piece)) >= 3 and not any(piece in text for text in everything):
                problems += 1
                print("table row not found in the sources: %r  (piece %r)" % (row, piece))
    print("%d messages in the table, %d problems" % (len(rows), problems))
    if problems:
        print("Add each missing message as a row of the tables under '# Appendix A: Messages' in %s "
              "(write … for the values it fills in), and remove rows the programs no longer print." % guide)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
