#include "vigas/app/picture.h"

#include <wx/dcbuffer.h>

#include <algorithm>

#include "pictures/model.h"
#include "vigas/app/ui_text.h"
#include "vigas/app/wx_canvas.h"
#include "vigas/drawable.h"

namespace vigas::app {

ModelPicture::ModelPicture(wxWindow* parent, const Document& document, Pick pick)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(-1, 260), wxFULL_REPAINT_ON_RESIZE),
      document_(document),
      pick_(std::move(pick)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &ModelPicture::onPaint, this);
  Bind(wxEVT_LEFT_DOWN, &ModelPicture::onClick, this);
}

void ModelPicture::showCase(int loadCase) {
  loadCase_ = loadCase;
  Refresh();
}

void ModelPicture::showSpans(bool spans) {
  spans_ = spans;
  Refresh();
}

void ModelPicture::onClick(wxMouseEvent& event) {
  const wxPoint at = event.GetPosition();
  const pictures::Spot spot{(at.x - origin_.x) / scale_, (at.y - origin_.y) / scale_};
  const Target* best = nullptr;
  double nearest = 10;  // window pixels
  for (const Target& target : targets_) {
    const double d = pictures::distanceTo(target.element, spot) * scale_;
    // Supports and loads are drawn over bars: at the same distance they win.
    if (d < nearest || (best && d <= nearest && target.row.table != Table::bars && target.row.table != Table::spans)) {
      nearest = d;
      best = &target;
    }
  }
  if (best) pick_(best->row);
}

void ModelPicture::onPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  targets_.clear();
  const Content& content = document_.content();
  const int shown = std::clamp(loadCase_, 0, static_cast<int>(content.cases.size()) - 1);
  const bool bySpans = spans_ && document_.spans().reason.empty();
  const DrawableModel drawable =
      bySpans ? drawableSpans(content, document_.spans().beam, shown) : drawableModel(content, shown);
  const wxSize size = GetClientSize();
  dc.SetTextForeground(*wxBLACK);
  if (drawable.model.nodes.size() < 2) {
    dc.DrawText(fromCp1252("Sin nudos: escriba la viga en las tablas o use Archivo > Nueva viga continua (Ctrl+N)."),
                20, 20);
    return;
  }
  const pictures::ModelFrame frame = pictures::modelPictureFrame(drawable.model);
  WxDcCanvas canvas(dc, wxRect(0, 0, size.x, size.y - 18), frame.width, frame.height);
  pictures::Drawing drawing(canvas, frame.width, frame.height);
  pictures::drawModel(drawing, drawable.model, frame);
  canvas.paintTexts();
  dc.SetFont(GetFont());
  dc.SetTextForeground(*wxBLACK);
  dc.DrawText(fromCp1252("Cargas del caso \"" + content.cases[static_cast<size_t>(shown)].name + "\""), 8, size.y - 18);

  scale_ = canvas.scale();
  const pictures::Spot corner = canvas.toPicture({0, 0});
  origin_ = wxPoint(static_cast<int>(-corner.x * scale_), static_cast<int>(-corner.y * scale_));
  for (const pictures::Element& e : canvas.elements) {
    if (!e.inItem || e.kind == pictures::Element::words) continue;
    CellPlace row;
    const size_t k = static_cast<size_t>(e.index);
    switch (e.item) {
      case pictures::ItemKind::bar: row = {drawable.barTable, drawable.barRow.at(k), 0, 0}; break;
      case pictures::ItemKind::support: row = {drawable.supportTable, drawable.supportRow.at(k), 0, 0}; break;
      case pictures::ItemKind::nodalLoad: row = {Table::nodalLoads, drawable.nodalLoadRow.at(k), 0, 0}; break;
      case pictures::ItemKind::barLoad: row = {drawable.loadTable, drawable.loadRow.at(k), 0, shown}; break;
    }
    targets_.push_back({e, row});
  }
}

}  // namespace vigas::app
