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
  // Pages and menus.
  void buildMenus();
  void rebuildPages();
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
  void commitEdits();

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
  void onRow(int what);
  void onUndo(bool redo);
  void onAddCase();
  void onRenameCase();
  void onRemoveCase();
  void onClose(wxCloseEvent& event);
  // Asks what to do with unsaved changes; false when the person cancels.
  bool confirmDiscard();
  // Says why the beam cannot be saved or analysed when it has errors; false then.
  bool refuseErrors(const std::string& what);

  Document document_;
  RecentFiles recent_;
  wxNotebook* tables_ = nullptr;
  std::vector<TablePage*> pages_;
  wxNotebook* lower_ = nullptr;
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
  bool refreshing_ = false;
};

}  // namespace vigas::app
