#pragma once
// The beam being edited: its content, the rules it breaks, and every edit as
// a command that can be undone and redone. The window calls these and redraws;
// nothing here knows of a window.
#include <functional>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "vigas/cells.h"
#include "vigas/checks.h"
#include "vigas/spans.h"

namespace vigas {

// What an edit did: `done` false when it was refused (nothing changed), with
// the reason; when done, `reason` is the first rule the edited row now breaks
// (for the status bar), "" when none.
struct EditResult {
  bool done = false;
  std::string reason;
};

// The further cases whose files a model file has beside it, as last opened
// or saved: a save takes away those of cases since removed or renamed.
struct FiledCases {
  std::string modelPath;
  std::vector<std::string> names;
};

class Document {
 public:
  Document();
  explicit Document(Content content, std::string modelPath = "");

  const Content& content() const { return content_; }
  const ModelData& model() const { return content_.model; }
  const std::vector<LoadCase>& cases() const { return content_.cases; }
  int unitCode() const { return content_.model.header.unitCode; }

  // The model file ("" for a beam never saved); the case files lie beside it.
  const std::string& modelPath() const { return modelPath_; }
  void setModelPath(const std::string& path) {
    modelPath_ = path;
    refresh();
  }
  const FiledCases& filedCases() const { return filedCases_; }
  void setFiledCases(FiledCases filed) { filedCases_ = std::move(filed); }

  // The case projects (file stems) whose calcest results this window's runs
  // wrote: a save that drops such a case takes its results away too.
  void noteAnalysed(const std::string& project) { analysed_.insert(project); }
  bool wasAnalysed(const std::string& project) const { return analysed_.count(project) > 0; }

  // Every table's cells, the spans view's too (while the beam is a
  // continuous beam: see spans()).
  int rowCount(Table table, int loadCase = 0) const;
  std::string cellText(const CellPlace& place) const;
  std::string cellWords(const CellPlace& place) const;
  bool cellInUse(const CellPlace& place) const;

  // The beam by its spans, as edited or as read from the model; `reason`
  // says why the model is no continuous beam (then only its bars are edited).
  const SpanReading& spans() const { return spans_; }

  // The edits, each one undoable.
  EditResult setCell(const CellPlace& place, const std::string& text);
  // Several cells of one table at once (a block pasted), as one edit: rows
  // added at its end until it has `rows`, then each text in turn, the first
  // refused stopping them all (nothing changed), with its place.
  struct CellText {
    CellPlace place;
    std::string text;
  };
  EditResult pasteCells(Table table, int loadCase, int rows, const std::vector<CellText>& cells,
                        CellPlace* refused = nullptr);
  // What setCell would answer for this text, the document unchanged: for
  // checking a cell as it is typed.
  EditResult tryCell(const CellPlace& place, const std::string& text) const;
  EditResult insertRow(Table table, int row, int loadCase = 0);
  EditResult deleteRow(Table table, int row, int loadCase = 0);
  // Several rows (1-based, any order) as one edit.
  EditResult deleteRows(Table table, std::vector<int> rows, int loadCase = 0);
  EditResult addLoadCase(const std::string& name);
  EditResult removeLoadCase(int loadCase);  // the first case stays
  EditResult renameLoadCase(int loadCase, const std::string& name);
  // Why addLoadCase (loadCase: the number of cases) or renameLoadCase would
  // refuse this name, "" when it would take it.
  std::string caseNameRefusal(int loadCase, const std::string& name) const;
  // The whole content at once (a beam from the builder); `what` names the edit.
  EditResult replaceContent(Content content, const std::string& what);

  bool canUndo() const { return done_ > 0; }
  bool canRedo() const { return done_ < commands_.size(); }
  // What undo or redo would do, for the menu ("" when nothing).
  std::string undoName() const;
  std::string redoName() const;
  bool undo();
  bool redo();

  // Whether the content differs from the one last opened or saved (an edit
  // undone back to it leaves nothing to save).
  bool modified() const { return saved_ != done_ || savedLost_; }
  void markSaved();

  // Every rule the content breaks, kept up to date after each edit.
  const std::vector<CellError>& errors() const { return errors_; }
  bool hasErrors() const { return !errors_.empty(); }
  std::string reasonAt(const CellPlace& place) const { return vigas::reasonAt(errors_, place); }
  // What deserves a look but breaks no rule (a section whose A or I is not
  // that of its b × h): shown, never in the way of a save.
  const std::vector<CellError>& notices() const { return notices_; }
  std::string noticeAt(const CellPlace& place) const { return vigas::reasonAt(notices_, place); }

 private:
  struct Command {
    std::string name;
    std::function<void(Content&)> redo, undo;
  };
  EditResult perform(Command command, const CellPlace& focus);
  // An edit as the whole content before and after it.
  EditResult performChange(Content after, const std::string& name, const CellPlace& focus);
  // The cell's text put into a copy of the content (the model made again
  // from the spans after a change of the spans view): "" or why not.
  std::string applyCell(Content& content, const CellPlace& place, const std::string& text) const;
  // The content the spans view edits: its spans present (read from the model
  // when they were not); false when the model is no continuous beam.
  bool withSpans(Content& content) const;
  // The content's faults, then the file names it makes where it is saved.
  void refresh();

  Content content_;
  std::string modelPath_;
  FiledCases filedCases_;
  std::vector<Command> commands_;  // done ones first, then those undone
  size_t done_ = 0;
  size_t saved_ = 0;
  bool savedLost_ = false;  // the saved state's command was dropped from the stack
  std::vector<CellError> errors_, notices_;
  SpanReading spans_;
  std::set<std::string> analysed_;
};

}  // namespace vigas
