#include "vigas/app/wx_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "pictures/drawing.h"
#include "vigas/app/ui_text.h"

namespace vigas::app {

using pictures::Element;
using pictures::Spot;

namespace {

// The look of the report's style sheet, for strokes and fills.
struct Look {
  wxColour stroke{34, 34, 34};
  double width = 1;  // 0: no stroke
  wxColour fill;     // invalid: none
  bool dashed = false;
};

const wxColour kInk(34, 34, 34), kLoad(198, 40, 40), kSupport(8, 127, 35), kGrey(119, 119, 119);

Look lookOf(const Element& e) {
  Look look;
  const std::string& c = e.cls;
  const bool load = e.groupCls.rfind("carga", 0) == 0;
  if (e.groupCls == "apoyo")
    look = {kSupport, 1.5, {}, false};
  else if (load)
    look = {kLoad, 1.5, {}, false};
  else if (e.groupCls == "estructura" || e.groupCls == "cota")
    look = {kGrey, 1.5, {}, false};
  if (c == "barra")
    look = {kInk, 3, {}, false};
  else if (c == "zona-rigida")
    look = {kInk, 9, {}, false};
  else if (c == "cartela")
    look = {wxColour(85, 85, 85), 1, wxColour(221, 221, 221), false};
  else if (c == "nodo" || c == "extremo")
    look = {kInk, 0, kInk, false};
  else if (c == "rotula")
    look = {kInk, 1.5, *wxWHITE, false};
  else if (c == "liberacion")
    look = {kInk, 2, {}, false};
  else if (c == "cota")
    look = {kGrey, 1, {}, false};
  else if (c == "punta")
    look = {kLoad, 0, kLoad, false};
  else if (c == "enlace")
    look = {kLoad, 1.5, {}, true};
  else if (c == "eje")
    look = {kInk, 1, {}, false};
  // The curves' light fills as the sheet's translucent ones look over white.
  else if (c == "curva-flecha")
    look = {wxColour(46, 125, 50), 2, wxColour(217, 232, 218), false};
  else if (c == "curva-momento")
    look = {kLoad, 2, wxColour(246, 223, 223), false};
  else if (c == "curva-corte")
    look = {wxColour(21, 101, 192), 2, wxColour(220, 232, 246), false};
  else if (c == "indeformada")
    look = {wxColour(170, 170, 170), 2, {}, true};
  if (e.strokeWidth > 0) look.width = e.strokeWidth;
  return look;
}

struct TextLook {
  wxColour colour{34, 34, 34};
  bool bold = false, italic = false;
};

TextLook textLookOf(const std::string& c) {
  if (c == "titulo") return {kInk, true, false};
  if (c == "etiqueta-nodo") return {wxColour(0, 82, 155), false, false};
  if (c == "etiqueta-barra") return {wxColour(85, 85, 85), false, true};
  if (c == "texto-cota") return {wxColour(85, 85, 85), false, false};
  if (c == "texto-apoyo") return {kSupport, false, false};
  if (c == "texto-carga") return {kLoad, false, false};
  return {};
}

// A text's markup that is plain text with character references (a character
// the files' encoding lacks) as what it reads; empty for markup with elements.
wxString referencesRead(const std::string& markup) {
  if (markup.find('<') != std::string::npos) return {};
  wxString out;
  for (size_t k = 0; k < markup.size(); ++k) {
    const size_t end = markup.find(';', k);
    if (markup.compare(k, 2, "&#") == 0 && end != std::string::npos) {
      out += wxUniChar(static_cast<unsigned>(std::strtoul(markup.c_str() + k + 2, nullptr, 10)));
      k = end;
    } else if (markup[k] == '&' && end != std::string::npos) {
      const std::string name = markup.substr(k + 1, end - k - 1);
      out += name == "lt" ? '<' : name == "gt" ? '>' : name == "quot" ? '"' : '&';
      k = end;
    } else {
      out += wxUniChar(static_cast<unsigned char>(markup[k]));
    }
  }
  return out;
}

}  // namespace

WxDcCanvas::WxDcCanvas(wxDC& dc, const wxRect& area, double width, double height) : dc_(dc) {
  if (width > 0 && height > 0) scale_ = std::min(area.width / width, area.height / height);
  if (!(scale_ > 0) || !std::isfinite(scale_)) scale_ = 1;
  left_ = area.x + (area.width - width * scale_) / 2;
  top_ = area.y + (area.height - height * scale_) / 2;
}

wxPoint WxDcCanvas::pixel(const Spot& s) const {
  // A typed value far off the picture still lands somewhere the toolkit takes.
  auto clamped = [](double v) { return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6))); };
  return {clamped(left_ + s.x * scale_), clamped(top_ + s.y * scale_)};
}

Spot WxDcCanvas::toPicture(const wxPoint& p) const { return {(p.x - left_) / scale_, (p.y - top_) / scale_}; }

void WxDcCanvas::drawn(const Element& e) {
  for (const Spot& s : e.points)
    if (!std::isfinite(s.x) || !std::isfinite(s.y)) return;
  if (e.kind == Element::words || e.points.empty()) return;  // texts come last
  const Look look = lookOf(e);
  const int width = std::max(1, static_cast<int>(std::lround(look.width * scale_)));
  dc_.SetPen(look.width > 0 ? wxPen(look.stroke, width, look.dashed ? wxPENSTYLE_SHORT_DASH : wxPENSTYLE_SOLID)
                            : *wxTRANSPARENT_PEN);
  dc_.SetBrush(look.fill.IsOk() ? wxBrush(look.fill) : *wxTRANSPARENT_BRUSH);
  std::vector<wxPoint> points;
  for (const Spot& s : e.points) points.push_back(pixel(s));
  switch (e.kind) {
    case Element::circle: {
      const int r = std::max(1, static_cast<int>(std::lround(std::min(e.radius, 1e4) * scale_)));
      dc_.DrawCircle(points[0], r);
      break;
    }
    case Element::polygon:
      if (points.size() >= 3) dc_.DrawPolygon(static_cast<int>(points.size()), points.data());
      break;
    default:
      if (points.size() >= 2) dc_.DrawLines(static_cast<int>(points.size()), points.data());
      break;
  }
}

void WxDcCanvas::paintTexts() {
  for (const Element& e : elements) {
    if (e.kind != Element::words || e.points.empty() || !std::isfinite(e.points[0].x) || !std::isfinite(e.points[0].y))
      continue;
    const TextLook look = textLookOf(e.cls);
    wxFont font(wxFontInfo().Family(wxFONTFAMILY_SWISS).Bold(look.bold).Italic(look.italic));
    font.SetPixelSize(wxSize(0, std::max(6, static_cast<int>(std::lround(pictures::fontSizeOf(e.cls) * scale_)))));
    dc_.SetFont(font);
    dc_.SetTextForeground(look.colour);
    const wxString read = referencesRead(e.markup);
    const wxString text = read.empty() ? fromCp1252(e.text) : read;
    wxCoord w = 0, h = 0, descent = 0;
    dc_.GetTextExtent(text, &w, &h, &descent);
    wxPoint at = pixel(e.points[0]);
    if (e.anchor == pictures::Anchor::middle) at.x -= w / 2;
    if (e.anchor == pictures::Anchor::end) at.x -= w;
    at.y -= h - descent;  // the picture gives the baseline
    dc_.DrawText(text, at);
  }
}

}  // namespace vigas::app
