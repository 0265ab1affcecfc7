#include "vigas/document.h"

#include <memory>
#include <utility>

#include "vigas/project_files.h"

namespace vigas {

Document::Document() : Document(emptyContent()) {}

Document::Document(Content content, std::string modelPath)
    : content_(std::move(content)), modelPath_(std::move(modelPath)) {
  refresh();
}

namespace {

// The content's faults, then the file names it makes where it is saved; the
// project's own name is a fault of the General table, which comes first.
std::vector<CellError> faultsOf(const Content& content, const std::string& modelPath) {
  std::vector<CellError> errors = checkContent(content);
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

}  // namespace

void Document::refresh() { errors_ = faultsOf(content_, modelPath_); }

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
  const std::string before = cellText(content_, place);
  Content trial = content_;
  const std::string refusal = setCellText(trial, place, text);
  if (!refusal.empty()) return {false, refusal};
  const std::string after = cellText(trial, place);
  const std::string name = "cambiar " + columnsOf(place.table)[static_cast<size_t>(place.column)].title;
  return perform({name, [place, after](Content& c) { setCellText(c, place, after); },
                  [place, before](Content& c) { setCellText(c, place, before); }},
                 place);
}

EditResult Document::tryCell(const CellPlace& place, const std::string& text) const {
  Content trial = content_;
  const std::string refusal = setCellText(trial, place, text);
  if (!refusal.empty()) return {false, refusal};
  return {true, reasonFor(faultsOf(trial, modelPath_), place)};
}

EditResult Document::insertRow(Table table, int row, int loadCase) {
  if (table == Table::header || row < 1 || row > rowCount(content_, table, loadCase) + 1 ||
      (table == Table::loads && (loadCase < 0 || loadCase >= static_cast<int>(content_.cases.size()))))
    return {false, "no se puede a\xF1" "adir una fila ah\xED"};
  const Row value = newRow(content_, table, loadCase);
  return perform({"a\xF1" "adir fila", [=](Content& c) { putRow(c, table, row, value, loadCase); },
                  [=](Content& c) { eraseRow(c, table, row, loadCase); }},
                 CellPlace{table, row, 0, loadCase});
}

EditResult Document::deleteRow(Table table, int row, int loadCase) {
  if (table == Table::header || row < 1 || row > rowCount(content_, table, loadCase) ||
      (table == Table::loads && (loadCase < 0 || loadCase >= static_cast<int>(content_.cases.size()))))
    return {false, "no hay ninguna fila ah\xED"};
  const Row value = rowAt(content_, table, row, loadCase);
  return perform({"borrar fila", [=](Content& c) { eraseRow(c, table, row, loadCase); },
                  [=](Content& c) { putRow(c, table, row, value, loadCase); }},
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
  return perform({"a\xF1" "adir caso", [name](Content& c) { c.cases.push_back(LoadCase{name, {}}); },
                  [](Content& c) { c.cases.pop_back(); }},
                 CellPlace{Table::loads, 0, 0, position});
}

EditResult Document::removeLoadCase(int loadCase) {
  if (loadCase < 1 || loadCase >= static_cast<int>(content_.cases.size()))
    return {false, "el primer caso es el del proyecto y no se puede quitar"};
  const LoadCase removed = content_.cases[static_cast<size_t>(loadCase)];
  return perform({"quitar caso", [loadCase](Content& c) { c.cases.erase(c.cases.begin() + loadCase); },
                  [loadCase, removed](Content& c) { c.cases.insert(c.cases.begin() + loadCase, removed); }},
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
