#pragma once
// The results of the last analysis, per load case: the reactions table, the
// extremes span by span (for a continuous beam) and the pictures of the
// deflection (the bars' true line), the bending moments and the shear
// forces, with their largest values.
#include <wx/panel.h>

#include "vigas/analysis.h"

class wxChoice;
class wxGrid;
class wxStaticText;

namespace vigas::app {

class DiagramPicture;

class ResultsPanel : public wxPanel {
 public:
  explicit ResultsPanel(wxWindow* parent);

  void show(const AnalysisRun& run);
  // The model changed since: the results shown are of the beam as it was.
  void markOutdated();
  // The reactions as the grid shows them, one line per row, cells separated
  // by tabs, each case headed by a line "caso NAME".
  std::string reactionsText() const;
  // The modes as their table shows them, one line per mode, cells separated
  // by tabs ("" when calcdin was not run), then the line above the table.
  std::string modesText() const;
  // The span-by-span table of the case shown, as reactionsText's rows ("" for
  // a model that is no continuous beam).
  std::string spansText() const;

 private:
  void showCase(int index);
  void showSpans(const CaseResults* shown);
  void showModes(const ModesRun& model, const std::optional<BeamModes>& beam);

  AnalysisRun run_;
  wxChoice* cases_;
  wxStaticText* note_;
  wxGrid* reactions_;
  wxStaticText* spansTitle_;
  wxGrid* spans_;
  wxStaticText* modesTitle_;
  wxGrid* modes_;
  DiagramPicture* diagrams_;
};

}  // namespace vigas::app
