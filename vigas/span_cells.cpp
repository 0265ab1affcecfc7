#include "vigas/span_cells.h"

#include <algorithm>
#include <cctype>

#include "common/capacities.h"
#include "common/model_writer.h"
#include "vigas/builder.h"
#include "vigas/sections.h"
#include "vigas/spans.h"
#include "vigas/words.h"

namespace vigas {

using namespace common;

namespace {

constexpr int kPinned = 110, kRoller = 10, kFixed = 111, kSpring = 20;

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool validCase(const SpanBeam& beam, int loadCase) {
  return loadCase >= 0 && loadCase < static_cast<int>(beam.loads.size());
}

std::string pieceName(const SpanBeam& beam, int piece) {
  if (piece == 0) return "voladizo izquierdo";
  if (beam.overhang(piece)) return "voladizo derecho";
  return "vano " + std::to_string(piece);
}

std::string pieceCode(const SpanBeam& beam, int piece) {
  if (piece == kAlongBeam) return "viga";
  if (piece == 0) return "vi";
  if (beam.overhang(piece)) return "vd";
  return std::to_string(piece);
}

struct KindName {
  const char* name;
  SpanLoadKind kind;
};
// In the order a typed beginning is matched: "t" is a temperature.
const KindName kKinds[] = {{"puntual", SpanLoadKind::force},          {"fuerza", SpanLoadKind::force},
                           {"momento", SpanLoadKind::moment},         {"repartida", SpanLoadKind::distributed},
                           {"uniforme", SpanLoadKind::distributed},   {"temperatura", SpanLoadKind::temperature},
                           {"triangular", SpanLoadKind::distributed}, {"trapecial", SpanLoadKind::distributed}};

const char* kindText(SpanLoadKind kind) {
  switch (kind) {
    case SpanLoadKind::force: return "puntual";
    case SpanLoadKind::moment: return "momento";
    case SpanLoadKind::temperature: return "temperatura";
    case SpanLoadKind::distributed: break;
  }
  return "repartida";
}

bool spread(SpanLoadKind kind) { return kind == SpanLoadKind::distributed || kind == SpanLoadKind::temperature; }

// The piece a load names: "vi", "vd", a span's number or "viga".
std::string readPiece(const SpanBeam& beam, const std::string& typed, int& piece) {
  const std::string text = lowered(typed);
  const int n = beam.spanCount();
  int number = 0;
  if (text == "vi" || text == "voladizo izquierdo")
    piece = 0;
  else if (text == "vd" || text == "voladizo derecho")
    piece = n + 1;
  else if (text == "viga" || text == "x")
    piece = kAlongBeam;
  else if (readIntegerText(text, number) && number >= 1 && number <= n)
    piece = number;
  else
    return "escriba el vano (1 a " + std::to_string(n) + "), vi o vd (voladizos) o viga (x desde el inicio)";
  if (beam.pieces.empty())
    return "la viga no tiene vanos: a\xF1"
           "\xE1"
           "dalos en la tabla Vanos";
  return "";
}

// A load moved to another piece: between a piece and the whole beam its x
// changes to keep its place; between two pieces it keeps its x.
void movePiece(const SpanBeam& beam, SpanLoad& load, int piece) {
  if ((load.piece == kAlongBeam) != (piece == kAlongBeam)) {
    const double shift = piece == kAlongBeam ? beam.startOf(load.piece) : -beam.startOf(piece);
    load.x1 = tidy(load.x1 + shift);
    load.x2 = tidy(load.x2 + shift);
  }
  load.piece = piece;
}

std::string setKind(const SpanBeam& beam, SpanLoad& load, const std::string& typed) {
  const std::string text = lowered(typed);
  for (const KindName& k : kKinds) {
    if (text.empty() || std::string(k.name).compare(0, text.size(), text) != 0) continue;
    if (spread(k.kind) && !spread(load.kind)) {
      const double end = load.piece == kAlongBeam ? beam.length() : beam.pieces[static_cast<size_t>(load.piece)].length;
      load.x2 = load.x1 < end ? end : load.x1;
      if (load.x2 == load.x1) load.x1 = 0;
    }
    if (!spread(k.kind)) load.x2 = load.x1;
    if (k.kind != SpanLoadKind::distributed) load.q2 = load.q1;
    load.kind = k.kind;
    return "";
  }
  return "escriba el tipo de carga: puntual, momento, repartida o temperatura (basta la inicial)";
}

std::string setLoadCell(const SpanBeam& beam, SpanLoad& load, int column, const std::string& text) {
  double value = 0;
  switch (column) {
    case kOnPiece: {
      int piece = 0;
      std::string fault = readPiece(beam, text, piece);
      if (fault.empty()) movePiece(beam, load, piece);
      return fault;
    }
    case kLoadKind: return setKind(beam, load, text);
    case kLoadDir:
      if (text != "y" && text != "Y" && text != "x" && text != "X")
        return "escriba una letra: y (vertical) o x (horizontal, a lo largo de la viga)";
      load.dir = text[0];
      return "";
    default: break;
  }
  if (!readRealText(text, value)) return kRealRefusal;
  if (column == kLoadX1)
    load.x1 = value;
  else if (column == kLoadX2)
    load.x2 = value;
  else if (column == kLoadQ2)
    load.q2 = value;
  else {
    // A uniform load stays uniform.
    if (load.q2 == load.q1 || load.kind != SpanLoadKind::distributed) load.q2 = value;
    load.q1 = value;
  }
  return "";
}

std::string setSupportCell(SpanBeam& beam, int support, const std::string& text) {
  if (support < 0 || support >= static_cast<int>(beam.supports.size()))
    return "el extremo de un voladizo est\xE1 libre";
  Support& s = beam.supports[static_cast<size_t>(support)];
  if (text == supportText(s)) return "";
  return readSupportText(text, s);
}

std::string setPieceCell(SpanBeam& beam, int piece, int column, const std::string& text) {
  if (column == kSpanLeft) return setSupportCell(beam, piece - 1, text);
  if (column == kSpanRight) return setSupportCell(beam, piece, text);
  if (column == kSpanName) return "el nombre del tramo no se escribe";
  if (column == kSpanLength) {
    double length = 0;
    if (!readRealText(text, length)) return kRealRefusal;
    if (!beam.overhang(piece) && !(length > 0)) return "la luz de un vano es mayor que 0";
    if (length < 0) return "un voladizo mide 0 (no hay) o m\xE1s";
    setPieceLength(beam, piece, length);
    return "";
  }
  int value = 0;
  if (!readIntegerText(text, value)) return "escriba un n\xFAmero entero";
  Piece& p = beam.pieces[static_cast<size_t>(piece)];
  if (column == kSpanBars) {
    if (value < 1 || value > common::kMaxBars) return "un tramo lleva de 1 a 250 barras";
    p.bars = value;
  } else if (value < 1) {
    return "las secciones y los materiales se numeran desde 1";
  } else {
    (column == kSpanSection ? p.section : p.material) = value;
  }
  return "";
}

// The first span's section and material when the model has none: a 0.3 × 0.5
// rectangle of HA-30 (no values in units without a named force).
void furnish(Content& content) {
  ModelData& m = content.model;
  if (m.sections.size() <= 1) {
    Section section;
    section.id = 1;
    makeRectangle(section, 0.3, 0.5);
    m.sections.assign(1, Section{});
    m.sections.push_back(section);
  }
  if (m.materials.size() <= 1) {
    Material material;
    material.id = 1;
    applyMaterialPreset(material, "HA-30", m.header.unitCode);
    m.materials.assign(1, Material{});
    m.materials.push_back(material);
  }
}

}  // namespace

const std::vector<Column>& spanColumns(Table table) {
  using K = CellKind;
  static const std::vector<Column> spans = {{"tramo", K::word},        {"L", K::real},
                                            {"barras", K::integer},    {"secci\xF3n", K::integer},
                                            {"material", K::integer},  {"apoyo izquierdo", K::word},
                                            {"apoyo derecho", K::word}};
  static const std::vector<Column> loads = {
      {"vano", K::word}, {"tipo", K::word},          {"x1", K::real}, {"x2", K::real}, {"q1", K::real},
      {"q2", K::real},   {"direcci\xF3n", K::letter}};
  return table == Table::spans ? spans : loads;
}

int spanRowCount(const SpanBeam& beam, Table table, int loadCase) {
  if (table == Table::spans) return static_cast<int>(beam.pieces.size());
  return validCase(beam, loadCase) ? static_cast<int>(beam.loads[static_cast<size_t>(loadCase)].size()) : 0;
}

namespace {
bool isSpanCell(const SpanBeam& beam, const CellPlace& p) {
  return p.row >= 1 && p.row <= spanRowCount(beam, p.table, p.loadCase) && p.column >= 0 &&
         p.column < static_cast<int>(spanColumns(p.table).size());
}
const SpanLoad& loadAt(const SpanBeam& beam, const CellPlace& p) {
  return beam.loads[static_cast<size_t>(p.loadCase)][static_cast<size_t>(p.row - 1)];
}
}  // namespace

std::string spanCellText(const SpanBeam& beam, const CellPlace& p) {
  if (p.table == Table::spans && p.column == kSpanName && isSpanCell(beam, p)) return pieceName(beam, p.row - 1);
  if (!isSpanCell(beam, p) || !spanCellInUse(beam, p)) return "";
  if (p.table == Table::spans) {
    const int piece = p.row - 1;
    const Piece& at = beam.pieces[static_cast<size_t>(piece)];
    switch (p.column) {
      case kSpanName: return pieceName(beam, piece);
      case kSpanLength: return exactReal(at.length);
      case kSpanBars: return std::to_string(at.bars);
      case kSpanSection: return std::to_string(at.section);
      case kSpanMaterial: return std::to_string(at.material);
      default: break;
    }
    return supportText(beam.supports[static_cast<size_t>(p.column == kSpanLeft ? piece - 1 : piece)]);
  }
  const SpanLoad& load = loadAt(beam, p);
  switch (p.column) {
    case kOnPiece: return pieceCode(beam, load.piece);
    case kLoadKind: return kindText(load.kind);
    case kLoadX1: return exactReal(load.x1);
    case kLoadX2: return exactReal(load.x2);
    case kLoadQ1: return exactReal(load.q1);
    case kLoadQ2: return exactReal(load.q2);
    default: break;
  }
  return std::string(1, load.dir);
}

std::string spanCellWords(const SpanBeam& beam, const CellPlace& p) {
  if (!isSpanCell(beam, p)) return "";
  if (p.table == Table::spans) {
    const int piece = p.row - 1;
    if (p.column != kSpanLeft && p.column != kSpanRight) return "";
    if (!spanCellInUse(beam, p)) return "libre";
    const Support& s = beam.supports[static_cast<size_t>(p.column == kSpanLeft ? piece - 1 : piece)];
    return s.code == kPinned || s.code == kRoller || s.code == kFixed || s.code == kSpring ? ""
                                                                                           : supportCodeWords(s.code);
  }
  const SpanLoad& load = loadAt(beam, p);
  if (p.column == kOnPiece)
    return load.piece == kAlongBeam ? "x desde el inicio de la viga" : pieceName(beam, load.piece);
  if (p.column == kLoadKind && load.kind == SpanLoadKind::distributed)
    return load.q1 == load.q2 ? "uniforme" : load.q1 == 0 || load.q2 == 0 ? "triangular" : "trapecial";
  if (p.column == kLoadDir) return directionWords(load.dir);
  return "";
}

bool spanCellInUse(const SpanBeam& beam, const CellPlace& p) {
  if (!isSpanCell(beam, p)) return false;
  if (p.table == Table::spans) {
    const int piece = p.row - 1;
    if (p.column == kSpanName) return false;
    if (p.column == kSpanLeft) return piece > 0;
    if (p.column == kSpanRight) return piece + 1 < static_cast<int>(beam.pieces.size());
    return true;
  }
  const SpanLoad& load = loadAt(beam, p);
  if (p.column == kLoadX2) return spread(load.kind);
  if (p.column == kLoadQ2) return load.kind == SpanLoadKind::distributed;
  if (p.column == kLoadDir) return load.kind == SpanLoadKind::force || load.kind == SpanLoadKind::distributed;
  return true;
}

std::string setSpanCellText(SpanBeam& beam, const CellPlace& p, const std::string& typed) {
  if (!isSpanCell(beam, p)) return "no existe esa celda";
  if (!spanCellInUse(beam, p))
    return p.table == Table::spans && p.column != kSpanName ? "el extremo de un voladizo est\xE1 libre"
                                                            : "esta celda no lleva valor para este tipo de carga";
  const std::string text = trimmedText(typed);
  if (p.table == Table::spans) return setPieceCell(beam, p.row - 1, p.column, text);
  SpanLoad load = loadAt(beam, p);
  std::string fault = setLoadCell(beam, load, p.column, text);
  if (fault.empty()) beam.loads[static_cast<size_t>(p.loadCase)][static_cast<size_t>(p.row - 1)] = load;
  return fault;
}

bool insertSpanRow(SpanBeam& beam, Content& content, Table table, int row, int loadCase) {
  if (table == Table::spans) {
    // The first span, wherever it is asked for.
    if (row < 1 || (!beam.pieces.empty() && row > static_cast<int>(beam.pieces.size()) + 1)) return false;
    if (beam.pieces.empty()) furnish(content);
    insertSpan(beam, row - 1);
    return true;
  }
  if (!validCase(beam, loadCase) || row < 1 || row > spanRowCount(beam, table, loadCase) + 1) return false;
  SpanLoad load;
  load.piece = beam.spanCount() > 0 ? 1 : kAlongBeam;
  load.x2 = load.piece == kAlongBeam ? beam.length() : beam.pieces[1].length;
  if (!(load.x2 > 0)) load.kind = SpanLoadKind::force;
  std::vector<SpanLoad>& loads = beam.loads[static_cast<size_t>(loadCase)];
  loads.insert(loads.begin() + (row - 1), load);
  return true;
}

bool eraseSpanRow(SpanBeam& beam, Table table, int row, int loadCase) {
  if (table == Table::spans) {
    if (row < 1 || row > static_cast<int>(beam.pieces.size())) return false;
    removePiece(beam, row - 1);
    return true;
  }
  if (!validCase(beam, loadCase) || row < 1 || row > spanRowCount(beam, table, loadCase)) return false;
  std::vector<SpanLoad>& loads = beam.loads[static_cast<size_t>(loadCase)];
  loads.erase(loads.begin() + (row - 1));
  return true;
}

std::string supportText(const Support& support) {
  std::string text;
  switch (support.code) {
    case kPinned: text = "articulado"; break;
    case kRoller: text = "deslizante"; break;
    case kFixed: text = "empotrado"; break;
    case kSpring: return "muelle " + exactReal(support.ky);
    default: text = std::to_string(support.code); break;
  }
  // Prescribed displacements, as the bar view's supports table holds them.
  const char* const names[] = {"dx", "dy", "giro", "\xE1ngulo", "kx", "ky", "kz"};
  for (SupportField field : SupportCode(support.code).fields())
    if (const double value = givenSupportValue(support, field); value != 0)
      text += std::string(" ") + names[static_cast<int>(field)] + "=" + exactReal(value);
  return text;
}

std::string readSupportText(const std::string& typed, Support& support) {
  const std::string text = trimmedText(typed);
  int code = 0;
  Support read;
  read.label = support.label;
  if (readIntegerText(text, code)) {
    read.code = code;
  } else {
    // "muelle 5000" as "muelle:5000".
    std::string word = text;
    const size_t blank = word.find_first_of(" \t");
    if (blank != std::string::npos) word = word.substr(0, blank) + ":" + trimmedText(word.substr(blank));
    SupportChoice choice;
    if (std::string fault = readSupportWord(word, choice); !fault.empty()) return fault;
    read.code = supportCodeOf(choice.kind);
    if (choice.kind == SupportKind::spring) {
      if (!(choice.stiffness > 0)) return "la rigidez de un muelle debe ser mayor que 0";
      setSupportValue(read, SupportField::ky, choice.stiffness);
    }
  }
  support = read;
  return "";
}

}  // namespace vigas
