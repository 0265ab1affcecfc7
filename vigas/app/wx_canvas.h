#pragma once
// The window's canvas of the shared pictures: each element painted on a wxDC
// as it comes, the picture scaled to fit the area given and centred in it,
// the report's classes mapped to pens, brushes and fonts. It keeps what it
// painted (see RecordingCanvas), so the window finds what a click falls on.
#include <wx/dc.h>

#include <vector>

#include "pictures/recording_canvas.h"

namespace vigas::app {

class WxDcCanvas : public pictures::RecordingCanvas {
 public:
  // A picture `width` × `height` pixels into `area` of the DC.
  WxDcCanvas(wxDC& dc, const wxRect& area, double width, double height);

  // The texts, last: above every stroke. Call once the drawing is done.
  void paintTexts();

  // Where a window pixel falls on the picture, and how many window pixels
  // a picture pixel takes.
  pictures::Spot toPicture(const wxPoint& p) const;
  double scale() const { return scale_; }

 protected:
  void drawn(const pictures::Element& element) override;

 private:
  wxPoint pixel(const pictures::Spot& s) const;
  wxDC& dc_;
  double scale_ = 1, left_ = 0, top_ = 0;
};

}  // namespace vigas::app
