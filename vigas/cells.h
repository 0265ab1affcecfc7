#pragma once
// The tables of the editor and their cells. A cell is addressed by its table,
// its row (1-based, the item's position in the file) and its column (0-based,
// the value's position in the item, in file order): the rules' faults name
// the same columns. Texts are Windows-1252, as every text of the suite.
#include <string>
#include <variant>
#include <vector>

#include "vigas/content.h"

namespace vigas {

// The model's tables as the files hold them, then the spans view's (made
// from the model when it is a continuous beam: see vigas/span_cells.h).
enum class Table { header, nodes, bars, sections, materials, supports, ties, nodalLoads, loads, spans, spanLoads };

// The tables kept per load case.
inline bool perCase(Table table) { return table == Table::loads || table == Table::spanLoads; }
inline bool spanTable(Table table) { return table == Table::spans || table == Table::spanLoads; }

enum class CellKind { integer, real, word, letter };

struct Column {
  std::string title;  // Spanish, for the grid's heading
  CellKind kind;
};

// The columns of a table, in file order. Header: title, echoed integer, unit
// code, self-weight switch, unused count, the real after the counts. Bars:
// common::BarField. Sections: number, A, I, b, h, then the width and the
// depth of a T's flange (not in the file: read from A and I). Materials:
// number, E, G, specific weight, expansion, then the name of the standard
// material they are (not in the file). Supports: node, code, then dx, dy,
// rz, angle, kx, ky, kz (column 2 + common::SupportField; only the fields of
// the code are in use). Ties: common::TieField. Nodal loads: node, then code
// and value three times. Loads: calcest::LoadField. The spans view's: see
// vigas/span_cells.h.
const std::vector<Column>& columnsOf(Table table);
enum ExtraColumn { kFlangeWidth = 5, kFlangeDepth = 6, kMaterialName = 5 };

// What a column's value is measured in, in the model's unit system ("" for
// a count, a code or a number without unit); and what a column holds, said
// for its heading's tooltip (its codes, its sign).
std::string columnUnit(Table table, int column, int unitCode);
std::string columnTip(Table table, int column);
// Columns a person need not see: carried along, never used.
bool hiddenColumn(Table table, int column);

// Reading typed text as the readers do, a decimal comma taken as a point
// (so "6,5" is 6.5): a whole integer, a finite real; and the text without
// blanks around it.
bool readIntegerText(const std::string& text, int& value);
bool readRealText(const std::string& text, double& value);
std::string trimmedText(const std::string& text);
inline const char* const kRealRefusal = "escriba un n\xFAmero (2.5, 2,5 o 2.5e6)";

struct CellPlace {
  Table table = Table::nodes;
  int row = 1;       // 1-based; the header has one row
  int column = 0;    // 0-based, see columnsOf
  int loadCase = 0;  // which case, for Table::loads
};

int rowCount(const Content& content, Table table, int loadCase = 0);

// Whether the place names an existing cell.
bool isCell(const Content& content, const CellPlace& place);

// The value as text: integers as such, reals with the fewest digits that
// read back the same, a direction letter, the title.
std::string cellText(const Content& content, const CellPlace& place);

// A support value the support's code does not take is not in use (not
// written, not checked).
bool cellInUse(const Content& content, const CellPlace& place);

// The words the grid shows beside a code: bar type, support code, load type,
// unit code, direction; "" for other cells.
std::string cellWords(const Content& content, const CellPlace& place);

// Puts typed text into a cell. "" when the cell took it; otherwise why not
// (the cell is unchanged): text that is not a value of the column's kind as
// the readers read it, or a value the file cannot hold (a title with blanks, a
// support value the code does not take).
std::string setCellText(Content& content, const CellPlace& place, const std::string& text);

// A whole row of any table but the header, for taking one out and putting it
// back.
using Row = std::variant<common::Node, common::BarInput, common::Section, common::Material, common::Support,
                         common::Tie, common::NodalLoad, BarLoad>;
Row rowAt(const Content& content, Table table, int row, int loadCase = 0);
// Inserts `value` (of the table's kind) at `row` (1 .. rowCount + 1).
bool putRow(Content& content, Table table, int row, const Row& value, int loadCase = 0);
// The row insertRow puts in.
Row newRow(const Content& content, Table table, int loadCase = 0);

// A new row at `row` (1 .. rowCount + 1) with values to be filled in (a new
// label one above the largest, zeros elsewhere, a prismatic bar without rigid
// zones), and the removal of a row. The header has no rows to add or remove.
bool insertRow(Content& content, Table table, int row, int loadCase = 0);
bool eraseRow(Content& content, Table table, int row, int loadCase = 0);

}  // namespace vigas
