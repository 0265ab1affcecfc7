#pragma once
// The beam as it is typed, drawn by the shared model picture (the report's
// own): bars, rigid end zones, hinges, supports and springs, the loads of one
// case to scale, and the span dimensions, scaled to the panel. Clicking a bar,
// a support or a load names its row.
#include <wx/panel.h>

#include <functional>
#include <vector>

#include "pictures/recording_canvas.h"
#include "vigas/document.h"

namespace vigas::app {

class ModelPicture : public wxPanel {
 public:
  using Pick = std::function<void(const CellPlace& row)>;
  ModelPicture(wxWindow* parent, const Document& document, Pick pick);

  // Which case's loads are drawn.
  void showCase(int loadCase);
  int shownCase() const { return loadCase_; }
  // The beam as its spans (one bar per stretch between loads, clicks naming
  // rows of the spans view) or as its bars.
  void showSpans(bool spans);

 private:
  struct Target {  // something that can be clicked, in picture pixels
    pictures::Element element;
    CellPlace row;
  };
  void onPaint(wxPaintEvent&);
  void onClick(wxMouseEvent& event);

  const Document& document_;
  Pick pick_;
  int loadCase_ = 0;
  bool spans_ = false;
  // From the last paint: what can be clicked, and how the picture sat.
  std::vector<Target> targets_;
  double scale_ = 1;
  wxPoint origin_;
};

}  // namespace vigas::app
