#include "vigas/document.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "vigas/project_files.h"
#include "vigas/sections.h"
#include "vigas/span_cells.h"

namespace vigas {

Document::Document() : Document(emptyContent()) {}

Document::Document(Content content, std::string modelPath)
    : content_(std::move(content)), modelPath_(std::move(modelPath)) {
  refresh();
}

namespace {

// Tables whose rows make the beam's geometry or its loads: an edit there
// leaves the spans behind (the spans view reads them from the model again).
bool shapesBars(Table table) {
  return table == Table::nodes || table == Table::bars || table == Table::supports || table == Table::ties ||
         table == Table::nodalLoads || table == Table::loads;
}

// The content's faults, its spans' then, and the file names it makes where
// it is saved; the project's own name is a fault of the General table,
// which comes first.
std::vector<CellError> faultsOf(const Content& content, const std::string& modelPath) {
  std::vector<CellError> errors = checkContent(content);
  for (const CellError& fault : spanFaults(content)) errors.push_back(fault);
  for (const CellError& fault : fileNameFaults(modelPath, content))
    errors.insert(fault.place.table == Table::header ? errors.begin() : errors.end(), fault);
  return errors;
}

// The first rule broken at the edited place, or else anywhere on its row.
std::string reasonFor(const std::vector<CellError>& errors, const CellPlace& focus) {
  std::string reason = vigas::reasonAt(errors, focus);
  for (size_t k = 0; k < errors.size() && reason.empty(); ++k) {
    const CellPlace& at = errors[k].place;
    if (at.table == focus.table && at.row == focus.row && at.loadCase == focus.loadCase) reason = errors[k].reason;
  }
  return reason;
}

// A section whose A or I is not that of its b × h: both values flagged.
std::vector<CellError> noticesOf(const Content& content) {
  std::vector<CellError> notices;
  const std::vector<common::Section>& sections = content.model.sections;
  for (size_t k = 1; k < sections.size(); ++k)
    if (const std::string notice = shapeNotice(sections[k]); !notice.empty())
      for (int column : {1, 2}) notices.push_back({CellPlace{Table::sections, static_cast<int>(k), column, 0}, notice});
  return notices;
}

std::string editName(const CellPlace& place) {
  const std::vector<Column>& columns = columnsOf(place.table);
  const bool known = place.column >= 0 && place.column < static_cast<int>(columns.size());
  return "cambiar " + (known ? columns[static_cast<size_t>(place.column)].title : std::string("celda"));
}

}  // namespace

void Document::refresh() {
  spans_ = spansOf(content_);
  errors_ = faultsOf(content_, modelPath_);
  notices_ = noticesOf(content_);
}

int Document::rowCount(Table table, int loadCase) const {
  if (!spanTable(table)) return vigas::rowCount(content_, table, loadCase);
  return spans_.reason.empty() ? spanRowCount(spans_.beam, table, loadCase) : 0;
}

std::string Document::cellText(const CellPlace& place) const {
  if (!spanTable(place.table)) return vigas::cellText(content_, place);
  return spans_.reason.empty() ? spanCellText(spans_.beam, place) : "";
}

std::string Document::cellWords(const CellPlace& place) const {
  if (!spanTable(place.table)) return vigas::cellWords(content_, place);
  return spans_.reason.empty() ? spanCellWords(spans_.beam, place) : "";
}

bool Document::cellInUse(const CellPlace& place) const {
  if (!spanTable(place.table)) return vigas::cellInUse(content_, place);
  return spans_.reason.empty() && spanCellInUse(spans_.beam, place);
}

bool Document::withSpans(Content& content) const {
  if (content.spans) return true;
  if (!spans_.reason.empty()) return false;
  content.spans = spans_.beam;
  return true;
}

std::string Document::applyCell(Content& content, const CellPlace& place, const std::string& text) const {
  if (spanTable(place.table)) {
    if (!withSpans(content)) return "esta viga no se edita por vanos: " + spans_.reason;
    std::string refusal = setSpanCellText(*content.spans, place, text);
    if (refusal.empty()) makeBars(content);
    return refusal;
  }
  std::string refusal = setCellText(content, place, text);
  if (refusal.empty() && shapesBars(place.table)) content.spans.reset();
  return refusal;
}

EditResult Document::performChange(Content after, const std::string& name, const CellPlace& focus) {
  auto before = std::make_shared<const Content>(content_);
  auto next = std::make_shared<const Content>(std::move(after));
  return perform({name, [next](Content& c) { c = *next; }, [before](Content& c) { c = *before; }}, focus);
}

EditResult Document::perform(Command command, const CellPlace& focus) {
  command.redo(content_);
  // A new edit drops the edits undone before it.
  if (saved_ > done_) savedLost_ = true;
  commands_.resize(done_);
  commands_.push_back(std::move(command));
  ++done_;
  refresh();
  return {true, reasonFor(errors_, focus)};
}

EditResult Document::setCell(const CellPlace& place, const std::string& text) {
  Content trial = content_;
  const std::string refusal = applyCell(trial, place, text);
  if (!refusal.empty()) return {false, refusal};
  // Cells whose value makes others (the spans view's, a section's sides, a
  // material's name) are undone as the whole content; the others by their text.
  if (spanTable(place.table) || place.table == Table::sections || place.table == Table::materials)
    return performChange(std::move(trial), editName(place), place);
  const std::string before = vigas::cellText(content_, place), after = vigas::cellText(trial, place);
  const std::optional<SpanBeam> spansBefore = content_.spans;
  const bool drops = shapesBars(place.table);
  return perform({editName(place),
                  [place, after, drops](Content& c) {
                    setCellText(c, place, after);
                    if (drops) c.spans.reset();
                  },
                  [place, before, spansBefore](Content& c) {
                    setCellText(c, place, before);
                    c.spans = spansBefore;
                  }},
                 place);
}

EditResult Document::pasteCells(Table table, int loadCase, int rows, const std::vector<CellText>& cells,
                                CellPlace* refused) {
  Content trial = content_;
  if (spanTable(table) && !withSpans(trial)) return {false, "esta viga no se edita por vanos: " + spans_.reason};
  const auto rowsOf = [&] {
    return spanTable(table) ? spanRowCount(*trial.spans, table, loadCase) : vigas::rowCount(trial, table, loadCase);
  };
  for (int have = rowsOf(); have < rows; have = rowsOf()) {
    const bool added = spanTable(table) ? insertSpanRow(*trial.spans, trial, table, have + 1, loadCase)
                                        : table != Table::header && vigas::insertRow(trial, table, have + 1, loadCase);
    if (!added) return {false, "no caben m\xE1s filas en esta tabla"};
    if (spanTable(table))
      makeBars(trial);
    else if (shapesBars(table))
      trial.spans.reset();
  }
  for (const CellText& cell : cells) {
    const std::string refusal = applyCell(trial, cell.place, cell.text);
    if (refusal.empty()) continue;
    if (refused) *refused = cell.place;
    return {false, refusal};
  }
  return performChange(std::move(trial), "pegar celdas",
                       cells.empty() ? CellPlace{table, 1, 0, loadCase} : cells.front().place);
}

EditResult Document::deleteRows(Table table, std::vector<int> rows, int loadCase) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.size() == 1) return deleteRow(table, rows.front(), loadCase);
  Content trial = content_;
  if (spanTable(table) && !withSpans(trial)) return {false, "esta viga no se edita por vanos: " + spans_.reason};
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    const bool erased = spanTable(table) ? eraseSpanRow(*trial.spans, table, *row, loadCase)
                                         : table != Table::header && vigas::eraseRow(trial, table, *row, loadCase);
    if (!erased) return {false, "no hay ninguna fila ah\xED"};
  }
  if (spanTable(table))
    makeBars(trial);
  else if (shapesBars(table))
    trial.spans.reset();
  return performChange(std::move(trial), "borrar filas", CellPlace{table, 0, 0, loadCase});
}

EditResult Document::tryCell(const CellPlace& place, const std::string& text) const {
  Content trial = content_;
  const std::string refusal = applyCell(trial, place, text);
  if (!refusal.empty()) return {false, refusal};
  return {true, reasonFor(faultsOf(trial, modelPath_), place)};
}

EditResult Document::insertRow(Table table, int row, int loadCase) {
  if (spanTable(table)) {
    Content trial = content_;
    if (!withSpans(trial)) return {false, "esta viga no se edita por vanos: " + spans_.reason};
    if (!insertSpanRow(*trial.spans, trial, table, row, loadCase))
      return {false,
              "no se puede a\xF1"
              "adir una fila ah\xED"};
    makeBars(trial);
    return performChange(std::move(trial),
                         table == Table::spans ? "a\xF1"
                                                 "adir vano"
                                               : "a\xF1"
                                                 "adir carga",
                         CellPlace{table, row, 0, loadCase});
  }
  if (table == Table::header || row < 1 || row > vigas::rowCount(content_, table, loadCase) + 1 ||
      (table == Table::loads && (loadCase < 0 || loadCase >= static_cast<int>(content_.cases.size()))))
    return {false,
            "no se puede a\xF1"
            "adir una fila ah\xED"};
  const Row value = newRow(content_, table, loadCase);
  const std::optional<SpanBeam> spansBefore = content_.spans;
  const bool drops = shapesBars(table);
  return perform({"a\xF1"
                  "adir fila",
                  [=](Content& c) {
                    putRow(c, table, row, value, loadCase);
                    if (drops) c.spans.reset();
                  },
                  [=](Content& c) {
                    eraseRow(c, table, row, loadCase);
                    c.spans = spansBefore;
                  }},
                 CellPlace{table, row, 0, loadCase});
}

EditResult Document::deleteRow(Table table, int row, int loadCase) {
  if (spanTable(table)) {
    Content trial = content_;
    if (!withSpans(trial)) return {false, "esta viga no se edita por vanos: " + spans_.reason};
    if (!eraseSpanRow(*trial.spans, table, row, loadCase)) return {false, "no hay ninguna fila ah\xED"};
    makeBars(trial);
    return performChange(std::move(trial), table == Table::spans ? "quitar vano" : "borrar carga",
                         CellPlace{table, 0, 0, loadCase});
  }
  if (table == Table::header || row < 1 || row > vigas::rowCount(content_, table, loadCase) ||
      (table == Table::loads && (loadCase < 0 || loadCase >= static_cast<int>(content_.cases.size()))))
    return {false, "no hay ninguna fila ah\xED"};
  const Row value = rowAt(content_, table, row, loadCase);
  const std::optional<SpanBeam> spansBefore = content_.spans;
  const bool drops = shapesBars(table);
  return perform({"borrar fila",
                  [=](Content& c) {
                    eraseRow(c, table, row, loadCase);
                    if (drops) c.spans.reset();
                  },
                  [=](Content& c) {
                    putRow(c, table, row, value, loadCase);
                    c.spans = spansBefore;
                  }},
                 CellPlace{table, 0, 0, loadCase});
}

std::string Document::caseNameRefusal(int loadCase, const std::string& name) const {
  const int cases = static_cast<int>(content_.cases.size());
  if (loadCase < 0 || loadCase > cases) return "no existe ese caso";
  std::string fault = caseNameFault(content_, name, loadCase);
  if (fault.empty() && !modelPath_.empty()) fault = caseFileNameFault(modelPath_, loadCase == 0 ? "" : name);
  for (int k = loadCase + 1; k < cases && fault.empty(); ++k)
    if (content_.cases[static_cast<size_t>(k)].name == name) fault = "ya hay otro caso con ese nombre";
  return fault;
}

EditResult Document::addLoadCase(const std::string& name) {
  const int position = static_cast<int>(content_.cases.size());
  const std::string fault = caseNameRefusal(position, name);
  if (!fault.empty()) return {false, fault};
  return perform({"a\xF1"
                  "adir caso",
                  [name](Content& c) {
                    c.cases.push_back(LoadCase{name, {}});
                    if (c.spans) c.spans->loads.emplace_back();
                  },
                  [](Content& c) {
                    c.cases.pop_back();
                    if (c.spans) c.spans->loads.pop_back();
                  }},
                 CellPlace{Table::loads, 0, 0, position});
}

EditResult Document::removeLoadCase(int loadCase) {
  if (loadCase < 1 || loadCase >= static_cast<int>(content_.cases.size()))
    return {false, "el primer caso es el del proyecto y no se puede quitar"};
  const LoadCase removed = content_.cases[static_cast<size_t>(loadCase)];
  std::vector<SpanLoad> removedLoads;
  if (content_.spans && loadCase < static_cast<int>(content_.spans->loads.size()))
    removedLoads = content_.spans->loads[static_cast<size_t>(loadCase)];
  return perform({"quitar caso",
                  [loadCase](Content& c) {
                    c.cases.erase(c.cases.begin() + loadCase);
                    if (c.spans && loadCase < static_cast<int>(c.spans->loads.size()))
                      c.spans->loads.erase(c.spans->loads.begin() + loadCase);
                  },
                  [loadCase, removed, removedLoads](Content& c) {
                    c.cases.insert(c.cases.begin() + loadCase, removed);
                    if (c.spans && loadCase <= static_cast<int>(c.spans->loads.size()))
                      c.spans->loads.insert(c.spans->loads.begin() + loadCase, removedLoads);
                  }},
                 CellPlace{Table::loads, 0, 0, 0});
}

EditResult Document::renameLoadCase(int loadCase, const std::string& name) {
  if (loadCase < 0 || loadCase >= static_cast<int>(content_.cases.size())) return {false, "no existe ese caso"};
  const std::string fault = caseNameRefusal(loadCase, name);
  if (!fault.empty()) return {false, fault};
  const std::string before = content_.cases[static_cast<size_t>(loadCase)].name;
  return perform({"renombrar caso", [=](Content& c) { c.cases[static_cast<size_t>(loadCase)].name = name; },
                  [=](Content& c) { c.cases[static_cast<size_t>(loadCase)].name = before; }},
                 CellPlace{Table::loads, 0, 0, loadCase});
}

EditResult Document::replaceContent(Content content, const std::string& what) {
  if (content.cases.empty()) return {false, "falta el primer caso de carga"};
  auto before = std::make_shared<const Content>(content_);
  auto after = std::make_shared<const Content>(std::move(content));
  return perform({what, [after](Content& c) { c = *after; }, [before](Content& c) { c = *before; }},
                 CellPlace{Table::header, 1, 0, 0});
}

std::string Document::undoName() const { return canUndo() ? commands_[done_ - 1].name : ""; }
std::string Document::redoName() const { return canRedo() ? commands_[done_].name : ""; }

bool Document::undo() {
  if (!canUndo()) return false;
  --done_;
  commands_[done_].undo(content_);
  refresh();
  return true;
}

bool Document::redo() {
  if (!canRedo()) return false;
  commands_[done_].redo(content_);
  ++done_;
  refresh();
  return true;
}

void Document::markSaved() {
  saved_ = done_;
  savedLost_ = false;
}

}  // namespace vigas
