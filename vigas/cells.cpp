#include "vigas/cells.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "calcest/loads.h"
#include "common/model_writer.h"
#include "vigas/builder.h"
#include "vigas/sections.h"
#include "vigas/span_cells.h"
#include "vigas/spans.h"
#include "vigas/words.h"

namespace vigas {

using namespace common;

Content emptyContent() {
  Content content;
  content.model.header.title = "VIGA";
  content.model.header.echoed = 1;
  content.model.header.unitCode = 1;
  for (auto* table : {&content.model.nodes}) table->assign(1, Node{});
  content.model.bars.assign(1, BarInput{});
  content.model.sections.assign(1, Section{});
  content.model.materials.assign(1, Material{});
  content.model.supports.assign(1, Support{});
  content.model.ties.assign(1, Tie{});
  content.model.nodalLoads.assign(1, NodalLoad{});
  content.cases.push_back(LoadCase{"principal", {}});
  return content;
}

const std::vector<Column>& columnsOf(Table table) {
  using K = CellKind;
  static const std::vector<Column> header = {{"t\xEDtulo", K::word},   {"n\xFAmero", K::integer},
                                             {"unidades", K::integer}, {"peso propio", K::integer},
                                             {"sin uso", K::integer},  {"real sin uso", K::real}};
  static const std::vector<Column> nodes = {{"nodo", K::integer}, {"x", K::real}, {"y", K::real}};
  static const std::vector<Column> bars = {{"barra", K::integer},    {"nodo I", K::integer},     {"nodo J", K::integer},
                                           {"material", K::integer}, {"secci\xF3n", K::integer}, {"tipo", K::integer},
                                           {"sin uso", K::integer},  {"aclx", K::real},          {"adlx", K::real},
                                           {"ablx", K::real},        {"cortante", K::integer},   {"cartela", K::real}};
  static const std::vector<Column> sections = {{"n\xFAmero", K::integer},
                                               {"A", K::real},
                                               {"I", K::real},
                                               {"b", K::real},
                                               {"h", K::real},
                                               {"ancho del ala", K::real},
                                               {"canto del ala", K::real}};
  static const std::vector<Column> materials = {{"n\xFAmero", K::integer},
                                                {"E", K::real},
                                                {"G", K::real},
                                                {"peso espec\xED"
                                                 "fico",
                                                 K::real},
                                                {"alfa", K::real},
                                                {"nombre", K::word}};
  static const std::vector<Column> supports = {{"nodo", K::integer},
                                               {"c\xF3"
                                                "digo",
                                                K::integer},
                                               {"dx", K::real},
                                               {"dy", K::real},
                                               {"giro", K::real},
                                               {"\xE1ngulo", K::real},
                                               {"kx", K::real},
                                               {"ky", K::real},
                                               {"kz", K::real}};
  static const std::vector<Column> ties = {{"nodo A", K::integer},
                                           {"nodo B", K::integer},
                                           {"direcci\xF3n A", K::integer},
                                           {"direcci\xF3n B", K::integer},
                                           {"valor", K::real}};
  static const std::vector<Column> nodalLoads = {{"nodo", K::integer},
                                                 {"c\xF3"
                                                  "digo x",
                                                  K::integer},
                                                 {"fuerza x", K::real},
                                                 {"c\xF3"
                                                  "digo y",
                                                  K::integer},
                                                 {"fuerza y", K::real},
                                                 {"c\xF3"
                                                  "digo giro",
                                                  K::integer},
                                                 {"momento", K::real}};
  static const std::vector<Column> loads = {
      {"barra", K::integer}, {"tipo", K::integer},       {"a", K::real}, {"c", K::real}, {"b", K::real},
      {"valor", K::real},    {"direcci\xF3n", K::letter}};
  switch (table) {
    case Table::header: return header;
    case Table::nodes: return nodes;
    case Table::bars: return bars;
    case Table::sections: return sections;
    case Table::materials: return materials;
    case Table::supports: return supports;
    case Table::ties: return ties;
    case Table::nodalLoads: return nodalLoads;
    case Table::spans:
    case Table::spanLoads: return spanColumns(table);
    case Table::loads: break;
  }
  return loads;
}

namespace {

int tableRows(size_t size) { return size > 0 ? static_cast<int>(size) - 1 : 0; }

bool validCase(const Content& content, int loadCase) {
  return loadCase >= 0 && loadCase < static_cast<int>(content.cases.size());
}

// Where a cell's value lives: exactly one pointer is set.
struct Field {
  int* integer = nullptr;
  double* real = nullptr;
  char* letter = nullptr;
  std::string* word = nullptr;
};

Field headerField(ModelHeader& h, int column) {
  switch (column) {
    case 0: return {nullptr, nullptr, nullptr, &h.title};
    case 1: return {&h.echoed};
    case 2: return {&h.unitCode};
    case 3: return {&h.selfWeight};
    case 4: return {&h.unusedCount};
    default: return {nullptr, &h.extra};
  }
}

Field barField(BarInput& bar, int column) {
  int* const integers[] = {&bar.label, &bar.labelI, &bar.labelJ, &bar.material, &bar.section, &bar.type, &bar.type7};
  if (column < kBarAclx) return {integers[column]};
  if (column == kBarShear) return {&bar.shear};
  double* const reals[] = {&bar.aclx, &bar.adlx, &bar.ablx};
  return {nullptr, column == kBarTaper ? &bar.taper : reals[column - kBarAclx]};
}

Field supportField(Support& s, int column) {
  if (column == 0) return {&s.label};
  if (column == 1) return {&s.code};
  double* const reals[] = {&s.dx, &s.dy, &s.rz, &s.angleDegrees, &s.kx, &s.ky, &s.kz};
  return {nullptr, reals[column - 2]};
}

Field nodalLoadField(NodalLoad& load, int column) {
  if (column == 0) return {&load.label};
  const int d = (column - 1) / 2;
  return column % 2 == 1 ? Field{&load.code[d]} : Field{nullptr, &load.value[d]};
}

Field loadField(BarLoad& load, int column) {
  switch (column) {
    case calcest::kLoadBar: return {&load.barLabel};
    case calcest::kLoadType: return {&load.ltype};
    case calcest::kLoadA: return {nullptr, &load.a};
    case calcest::kLoadC: return {nullptr, &load.c};
    case calcest::kLoadB: return {nullptr, &load.b};
    case calcest::kLoadValue: return {nullptr, &load.q};
    default: return {nullptr, nullptr, &load.dir};
  }
}

// The place must be a cell (isCell).
Field fieldAt(Content& content, const CellPlace& p) {
  ModelData& m = content.model;
  const size_t r = static_cast<size_t>(p.row);
  switch (p.table) {
    case Table::header: return headerField(m.header, p.column);
    case Table::nodes: {
      Node& n = m.nodes[r];
      return p.column == 0 ? Field{&n.label} : Field{nullptr, p.column == 1 ? &n.x : &n.y};
    }
    case Table::bars: return barField(m.bars[r], p.column);
    case Table::sections: {
      Section& s = m.sections[r];
      double* const reals[] = {&s.A, &s.I, &s.b, &s.h};
      return p.column == 0 ? Field{&s.id} : Field{nullptr, reals[p.column - 1]};
    }
    case Table::materials: {
      Material& mat = m.materials[r];
      double* const reals[] = {&mat.E, &mat.G, &mat.gamma, &mat.alpha};
      return p.column == 0 ? Field{&mat.id} : Field{nullptr, reals[p.column - 1]};
    }
    case Table::supports: return supportField(m.supports[r], p.column);
    case Table::ties: {
      Tie& t = m.ties[r];
      int* const integers[] = {&t.labelA, &t.labelB, &t.dirA, &t.dirB};
      return p.column == kTieValue ? Field{nullptr, &t.value} : Field{integers[p.column]};
    }
    case Table::nodalLoads: return nodalLoadField(m.nodalLoads[r], p.column);
    case Table::loads:
    case Table::spans:
    case Table::spanLoads: break;
  }
  return loadField(content.cases[static_cast<size_t>(p.loadCase)].loads[r - 1], p.column);
}

bool supportTakes(const Support& support, SupportField field) {
  const std::vector<SupportField> fields = SupportCode(support.code).fields();
  return std::find(fields.begin(), fields.end(), field) != fields.end();
}

template <class T>
int largestLabel(const std::vector<T>& table, int T::*label) {
  int largest = 0;
  for (size_t k = 1; k < table.size(); ++k) largest = std::max(largest, table[k].*label);
  return largest;
}

// A new item labelled one above the table's largest label.
template <class T>
T labelledAfter(const std::vector<T>& table, int T::*label) {
  T item;
  item.*label = largestLabel(table, label) + 1;
  return item;
}

template <class T>
bool insertInto(std::vector<T>& table, int row, const Row& value) {
  if (row < 1 || row > static_cast<int>(table.size()) || !std::holds_alternative<T>(value)) return false;
  table.insert(table.begin() + row, std::get<T>(value));
  return true;
}

template <class T>
bool eraseFrom(std::vector<T>& table, int row) {
  if (row < 1 || row >= static_cast<int>(table.size())) return false;
  table.erase(table.begin() + row);
  return true;
}

}  // namespace

// As the readers take them: a whole integer ("%d" would leave the rest of
// "1.5" to the next value), a finite real.
bool readIntegerText(const std::string& text, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool readRealText(const std::string& typed, double& value) {
  std::string text = typed;
  std::replace(text.begin(), text.end(), ',', '.');
  if (text.empty() || std::count(text.begin(), text.end(), '.') > 1) return false;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

std::string trimmedText(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int rowCount(const Content& content, Table table, int loadCase) {
  const ModelData& m = content.model;
  if (spanTable(table)) return 0;  // the document's spans view
  switch (table) {
    case Table::header: return 1;
    case Table::nodes: return tableRows(m.nodes.size());
    case Table::bars: return tableRows(m.bars.size());
    case Table::sections: return tableRows(m.sections.size());
    case Table::materials: return tableRows(m.materials.size());
    case Table::supports: return tableRows(m.supports.size());
    case Table::ties: return tableRows(m.ties.size());
    case Table::nodalLoads: return tableRows(m.nodalLoads.size());
    case Table::loads:
    case Table::spans:
    case Table::spanLoads: break;
  }
  return validCase(content, loadCase) ? static_cast<int>(content.cases[static_cast<size_t>(loadCase)].loads.size()) : 0;
}

bool isCell(const Content& content, const CellPlace& place) {
  if (spanTable(place.table) || (place.table == Table::loads && !validCase(content, place.loadCase))) return false;
  return place.row >= 1 && place.row <= rowCount(content, place.table, place.loadCase) && place.column >= 0 &&
         place.column < static_cast<int>(columnsOf(place.table).size());
}

namespace {

bool extraColumn(const CellPlace& place) {
  return (place.table == Table::sections && place.column >= kFlangeWidth) ||
         (place.table == Table::materials && place.column == kMaterialName);
}

std::string extraText(const Content& content, const CellPlace& place) {
  const size_t r = static_cast<size_t>(place.row);
  if (place.table == Table::materials)
    return materialPresetName(content.model.materials[r], content.model.header.unitCode);
  const SectionShape shape = shapeOf(content.model.sections[r]);
  if (shape.kind != SectionShape::Kind::tee) return "";
  return exactReal(place.column == kFlangeWidth ? shape.flangeWidth : shape.flangeDepth);
}

// b or h of a section: a rectangle or a T stays one, its A and I follow.
std::string setSectionSide(Section& section, int column, double value) {
  const SectionShape shape = shapeOf(section);
  const double b = column == 3 ? value : section.b, h = column == 4 ? value : section.h;
  if (shape.kind == SectionShape::Kind::other || !(b > 0 && h > 0)) {
    (column == 3 ? section.b : section.h) = value;
    return "";
  }
  if (shape.kind == SectionShape::Kind::rectangle) {
    makeRectangle(section, b, h);
    return "";
  }
  if (!(shape.flangeDepth < h)) return "el canto de la T debe ser mayor que el de su ala";
  if (!(shape.flangeWidth > b)) return "el ancho del alma de la T debe ser menor que el de su ala";
  makeTee(section, b, h, shape.flangeWidth, shape.flangeDepth);
  return "";
}

// A T's flange: a width or depth makes the section a T (the other one, when
// it was none, a width three times the web's or a fifth of the depth); none
// (blank or 0) makes it the b × h rectangle.
std::string setFlange(Section& section, int column, const std::string& text) {
  double value = 0;
  if (!text.empty() && !readRealText(text, value)) return kRealRefusal;
  if (!(section.b > 0 && section.h > 0)) return "escriba antes el ancho b y el canto h del alma";
  if (!(value > 0)) {
    makeRectangle(section, section.b, section.h);
    return "";
  }
  const SectionShape shape = shapeOf(section);
  const bool tee = shape.kind == SectionShape::Kind::tee;
  const double width = column == kFlangeWidth ? value : tee ? shape.flangeWidth : tidy(3 * section.b);
  const double depth = column == kFlangeDepth ? value : tee ? shape.flangeDepth : tidy(section.h / 5);
  if (!(width > section.b)) return "el ala es m\xE1s ancha que el alma (b)";
  if (!(depth < section.h)) return "el canto del ala es menor que el canto total h";
  makeTee(section, section.b, section.h, width, depth);
  return "";
}

std::string setExtra(Content& content, const CellPlace& place, const std::string& text) {
  const size_t r = static_cast<size_t>(place.row);
  if (place.table == Table::sections) return setFlange(content.model.sections[r], place.column, text);
  if (applyMaterialPreset(content.model.materials[r], text, content.model.header.unitCode)) return "";
  std::string names;
  for (const MaterialPreset& preset : materialPresets(content.model.header.unitCode))
    names += (names.empty() ? "" : ", ") + preset.name;
  return names.empty() ? "estas unidades no tienen materiales con nombre: escriba E, G, peso y alfa"
                       : "escriba el nombre de un material: " + names;
}

}  // namespace

std::string cellText(const Content& content, const CellPlace& place) {
  if (!isCell(content, place)) return "";
  if (extraColumn(place)) return extraText(content, place);
  const Field field = fieldAt(const_cast<Content&>(content), place);
  if (field.integer) return std::to_string(*field.integer);
  if (field.real) return exactReal(*field.real);
  if (field.letter) return std::string(1, *field.letter);
  return *field.word;
}

bool cellInUse(const Content& content, const CellPlace& place) {
  if (!isCell(content, place)) return false;
  if (place.table != Table::supports || place.column < 2) return true;
  return supportTakes(content.model.supports[static_cast<size_t>(place.row)],
                      static_cast<SupportField>(place.column - 2));
}

std::string cellWords(const Content& content, const CellPlace& place) {
  if (!isCell(content, place) || extraColumn(place)) return "";
  const int value = [&] {
    const Field field = fieldAt(const_cast<Content&>(content), place);
    return field.integer ? *field.integer : 0;
  }();
  switch (place.table) {
    case Table::header: return place.column == 2 ? unitSystemWords(value) : "";
    case Table::bars: return place.column == kBarType ? barTypeWords(value) : "";
    case Table::supports: return place.column == 1 ? supportCodeWords(value) : "";
    case Table::loads:
      if (place.column == calcest::kLoadType) return loadTypeWords(value);
      if (place.column == calcest::kLoadDirection)
        return directionWords(content.cases[static_cast<size_t>(place.loadCase)].loads[place.row - 1].dir);
      return "";
    default: return "";
  }
}

std::string setCellText(Content& content, const CellPlace& place, const std::string& typed) {
  if (!isCell(content, place)) return "no existe esa celda";
  if (!cellInUse(content, place))
    return "el c\xF3"
           "digo del apoyo no lleva este valor: cambie el c\xF3"
           "digo para darlo";
  const std::string text = trimmedText(typed);
  if (extraColumn(place)) return setExtra(content, place, text);
  const Field field = fieldAt(content, place);
  if (field.integer) {
    int value = 0;
    if (!readIntegerText(text, value)) return "escriba un n\xFAmero entero";
    *field.integer = value;
  } else if (field.real) {
    double value = 0;
    if (!readRealText(text, value)) return kRealRefusal;
    if (place.table == Table::supports)
      setSupportValue(content.model.supports[static_cast<size_t>(place.row)],
                      static_cast<SupportField>(place.column - 2), value);
    else if (place.table == Table::sections && (place.column == 3 || place.column == 4))
      return setSectionSide(content.model.sections[static_cast<size_t>(place.row)], place.column, value);
    else
      *field.real = value;
  } else if (field.letter) {
    if (text.size() != 1) return "escriba una letra: y (vertical) o x (horizontal)";
    *field.letter = text[0];
  } else {
    if (text.empty() || text.find_first_of(" \t") != std::string::npos)
      return "el t\xEDtulo es una sola palabra, sin espacios";
    *field.word = text;
  }
  return "";
}

Row rowAt(const Content& content, Table table, int row, int loadCase) {
  const ModelData& m = content.model;
  const size_t r = static_cast<size_t>(row);
  switch (table) {
    case Table::nodes: return m.nodes.at(r);
    case Table::bars: return m.bars.at(r);
    case Table::sections: return m.sections.at(r);
    case Table::materials: return m.materials.at(r);
    case Table::supports: return m.supports.at(r);
    case Table::ties: return m.ties.at(r);
    case Table::nodalLoads: return m.nodalLoads.at(r);
    default: break;
  }
  return content.cases.at(static_cast<size_t>(loadCase)).loads.at(r - 1);
}

bool putRow(Content& content, Table table, int row, const Row& value, int loadCase) {
  ModelData& m = content.model;
  switch (table) {
    case Table::header: return false;
    case Table::nodes: return insertInto(m.nodes, row, value);
    case Table::bars: return insertInto(m.bars, row, value);
    case Table::sections: return insertInto(m.sections, row, value);
    case Table::materials: return insertInto(m.materials, row, value);
    case Table::supports: return insertInto(m.supports, row, value);
    case Table::ties: return insertInto(m.ties, row, value);
    case Table::nodalLoads: return insertInto(m.nodalLoads, row, value);
    case Table::loads:
    case Table::spans:
    case Table::spanLoads: break;
  }
  if (!validCase(content, loadCase) || !std::holds_alternative<BarLoad>(value)) return false;
  std::vector<BarLoad>& loads = content.cases[static_cast<size_t>(loadCase)].loads;
  if (row < 1 || row > static_cast<int>(loads.size()) + 1) return false;
  loads.insert(loads.begin() + (row - 1), std::get<BarLoad>(value));
  return true;
}

Row newRow(const Content& content, Table table, int /*loadCase*/) {
  const ModelData& m = content.model;
  switch (table) {
    case Table::nodes: return labelledAfter(m.nodes, &Node::label);
    case Table::bars: {
      BarInput bar = labelledAfter(m.bars, &BarInput::label);
      bar.material = bar.section = bar.type = 1;
      bar.aclx = 1.0;
      return bar;
    }
    case Table::sections: return labelledAfter(m.sections, &Section::id);
    case Table::materials: return labelledAfter(m.materials, &Material::id);
    case Table::supports: {
      Support support;
      support.code = 10;
      return support;
    }
    case Table::ties: return Tie{1, 1, 1, 1};
    case Table::nodalLoads: return NodalLoad{0, 0, {1, 2, 3}, {0, 0, 0}};
    default: break;
  }
  // A uniform load over the whole of the first bar: a valid row to change.
  BarLoad load;
  load.ltype = 3;
  if (m.bars.size() < 2) return load;
  const BarInput& bar = m.bars[1];
  load.barLabel = bar.label;
  const Node* ends[2] = {nullptr, nullptr};
  for (size_t k = 1; k < m.nodes.size(); ++k)
    for (int e = 0; e < 2; ++e)
      if (m.nodes[k].label == (e == 0 ? bar.labelI : bar.labelJ) && !ends[e]) ends[e] = &m.nodes[k];
  if (!ends[0] || !ends[1]) return load;
  const double dx = std::fabs(ends[1]->x - ends[0]->x), dy = std::fabs(ends[1]->y - ends[0]->y);
  load.dir = dx > 0 ? 'y' : 'x';
  load.c = dx > 0 ? dx : dy;
  return load;
}

bool insertRow(Content& content, Table table, int row, int loadCase) {
  return putRow(content, table, row, newRow(content, table, loadCase), loadCase);
}

bool eraseRow(Content& content, Table table, int row, int loadCase) {
  ModelData& m = content.model;
  switch (table) {
    case Table::header: return false;
    case Table::nodes: return eraseFrom(m.nodes, row);
    case Table::bars: return eraseFrom(m.bars, row);
    case Table::sections: return eraseFrom(m.sections, row);
    case Table::materials: return eraseFrom(m.materials, row);
    case Table::supports: return eraseFrom(m.supports, row);
    case Table::ties: return eraseFrom(m.ties, row);
    case Table::nodalLoads: return eraseFrom(m.nodalLoads, row);
    case Table::loads:
    case Table::spans:
    case Table::spanLoads: break;
  }
  if (!validCase(content, loadCase)) return false;
  std::vector<BarLoad>& loads = content.cases[static_cast<size_t>(loadCase)].loads;
  if (row < 1 || row > static_cast<int>(loads.size())) return false;
  loads.erase(loads.begin() + (row - 1));
  return true;
}

}  // namespace vigas
