#pragma once
// The main window: the beam's tables above, its picture and the results of
// the last analysis below; every edit goes through the document, so it can
// be undone, is checked at once and redraws the picture.
#include <wx/frame.h>

#include <optional>
#include <string>
#include <vector>

#include "armado/design.h"
#include "vigas/document.h"
#include "vigas/recent_files.h"
#include "vigas/suite_programs.h"

class wxGridEvent;
class wxMenu;
class wxTextCtrl;
class wxNotebook;
class wxSplitterWindow;

namespace vigas::app {

class DesignPanel;
class EnvelopePanel;
class ModelPicture;
class ResultsPanel;
class TablePage;

class MainFrame : public wxFrame {
 public:
  MainFrame();
  // Opens a beam (its .dat); false when it did not open (the person was told why).
  bool openFile(const std::string& path);

 private:
  // The tables shown: the beam by its spans (with the sections, materials
  // and each case's loads along the beam), or every table of the model.
  enum class View { spans, bars };

  // Pages and menus.
  void buildMenus();
  void bindMenus();
  void rebuildTablesMenu();
  void rebuildPages();
  // To the view asked for; the spans view only for a continuous beam (else
  // the person is told why). `quiet`: the status bar says it, no message box.
  void showView(View view, bool quiet = false);
  // The spans view when the beam is a continuous beam, else the bars view, saying why.
  void chooseView();
  // The keys that act whatever has the focus.
  void onKey(wxKeyEvent& event);
  // `edited`: the beam changed (the results shown are then of the beam as it was).
  void afterEdit(const std::string& status, bool edited = true);
  void updateTitle();
  void updateRecentMenu();
  void saveRecent();
  TablePage* currentPage() const;
  void goToPage(size_t index);
  void selectRow(const CellPlace& row);
  void showCellStatus(TablePage* page, int row, int column);
  // What is being typed into a cell, checked as the edit would check it.
  void showTypedStatus(TablePage* page, wxTextCtrl* field);
  // What is being typed into a cell put into the document; false when the
  // cell refuses it (it stays in its field, marked, and the person is told).
  bool commitEdits();

  // Commands.
  void onCellChanged(wxGridEvent& event);
  void onNewBeam();
  void onOpen();
  bool save(bool choosePath);
  // F5: false when the beam was not analysed (the person was told why).
  bool onAnalyse();
  void onReport();
  void onEnvelope();
  // F8: armado on the cases as the envelope takes them.
  void onDesign();
  // Ayuda > Guía: the installed guide in the browser.
  void onRow(int what);
  // The clipboard: the selected block as tab-separated text; cut also takes
  // its rows away; paste fills the cells from the cursor on.
  void onCopy(bool cut);
  void onPaste();
  // A typed value the cell refuses stays in its field, marked, with the reason.
  void onCellChanging(wxGridEvent& event);
  void onUndo(bool redo);
  void onAddCase();
  void onRenameCase();
  void onRemoveCase();
  void onClose(wxCloseEvent& event);
  // Asks what to do with unsaved changes; false when the person cancels.
  void showLowerPage(int page);
  bool confirmDiscard();
  // Says why the beam cannot be saved or analysed when it has errors; false then.
  bool refuseErrors(const std::string& what);

  Document document_;
  View view_ = View::spans;
  RecentFiles recent_;
  wxNotebook* tables_ = nullptr;
  std::vector<TablePage*> pages_;
  wxNotebook* lower_ = nullptr;
  wxSplitterWindow* split_ = nullptr;
  ModelPicture* picture_ = nullptr;
  ResultsPanel* results_ = nullptr;
  EnvelopePanel* envelope_ = nullptr;
  DesignPanel* design_ = nullptr;
  // The cases' roles and factors of the last envelope, which the design takes
  // too; the design data last given.
  std::optional<EnvelopeChoice> envelopeChoice_;
  armado::DesignData designData_;
  // calcdin's elimination option run after calcest on F5, none when unset.
  std::optional<int> modesOption_;
  // Whether the results shown are of the beam as saved (no edit since F5),
  // and the modes file that analysis left, "" when calcdin did not run.
  bool resultsCurrent_ = false;
  std::string modesFile_;
  wxMenu* recentMenu_ = nullptr;
  wxMenu* editMenu_ = nullptr;
  wxMenu* tablesMenu_ = nullptr;
  wxMenuBar* menuBar_ = nullptr;
  bool refreshing_ = false;
};

}  // namespace vigas::app
