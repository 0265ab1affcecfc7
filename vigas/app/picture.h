#pragma once
// The beam as it is typed, drawn: bars, rigid end zones, hinges, supports and
// springs, the loads of one case to scale, and the dimensions between
// supports. Clicking a bar, a support or a load names its row.
#include <wx/panel.h>

#include <functional>
#include <vector>

#include "vigas/document.h"

namespace vigas::app {

class ModelPicture : public wxPanel {
 public:
  using Pick = std::function<void(const CellPlace& row)>;
  ModelPicture(wxWindow* parent, const Document& document, Pick pick);

  // Which case's loads are drawn.
  void showCase(int loadCase);
  int shownCase() const { return loadCase_; }

 private:
  struct Target {  // something that can be clicked, in window pixels
    wxPoint a, b;  // a segment (a == b for a point)
    CellPlace row;
  };
  void onPaint(wxPaintEvent&);
  void onClick(wxMouseEvent& event);

  const Document& document_;
  Pick pick_;
  int loadCase_ = 0;
  std::vector<Target> targets_;  // from the last paint
};

}  // namespace vigas::app
