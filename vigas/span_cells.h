#pragma once
// The cells of the spans view: the table of the pieces (Table::spans, a row
// per piece: the left overhang, the spans, the right overhang) and each
// case's loads along the beam (Table::spanLoads). Texts are Windows-1252.
#include <string>
#include <vector>

#include "vigas/cells.h"

namespace vigas {

// Spans: piece, L, bars, section, material, left support, right support.
// Loads: piece ("vi", 1 .. n, "vd", "viga"), kind, x1, x2, q1, q2, direction.
enum SpanColumn { kSpanName, kSpanLength, kSpanBars, kSpanSection, kSpanMaterial, kSpanLeft, kSpanRight };
enum SpanLoadColumn { kOnPiece, kLoadKind, kLoadX1, kLoadX2, kLoadQ1, kLoadQ2, kLoadDir };

const std::vector<Column>& spanColumns(Table table);

int spanRowCount(const SpanBeam& beam, Table table, int loadCase);
std::string spanCellText(const SpanBeam& beam, const CellPlace& place);
std::string spanCellWords(const SpanBeam& beam, const CellPlace& place);
bool spanCellInUse(const SpanBeam& beam, const CellPlace& place);

// Puts typed text into a cell of the spans view: "" when taken, else why not
// (nothing changed). A piece's new length moves its loads with it; a piece
// named by a load changes its x to keep its place when it passes between a
// piece and the whole beam.
std::string setSpanCellText(SpanBeam& beam, const CellPlace& place, const std::string& text);

// A new span (the first one brings a section and a material when the model
// has none) or load at `row`, and the removal of one.
bool insertSpanRow(SpanBeam& beam, Content& content, Table table, int row, int loadCase);
bool eraseSpanRow(SpanBeam& beam, Table table, int row, int loadCase);

// A support in words: its kind ("articulado", "deslizante", "empotrado",
// "muelle K") or its code, with any prescribed value it holds; and the
// support such words (or a code) give, its values 0 but a spring's.
std::string supportText(const common::Support& support);
std::string readSupportText(const std::string& text, common::Support& support);

}  // namespace vigas
