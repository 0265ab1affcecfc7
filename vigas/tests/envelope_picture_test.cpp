// The envelope page's pictures: each diagram fills its band whatever the size
// of its values, no line runs through a value, and every span's extremes
// inside it are written.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "alternancias/envelope_files.h"
#include "alternancias/exact_envelope.h"
#include "alternancias/patterns.h"
#include "envolventes/engine/diagram.h"
#include "pictures/recording_canvas.h"
#include "projectfiles/model_input.h"
#include "vigas/envelope_picture.h"
#include "vigas/tests/test_beams.h"

using namespace vigas;
using envelope::EnvelopeState;
using pictures::Element;

namespace {

// viga3 (three bars, a support at every node) with its variable case as
// the window's preset takes it, drawn `width` pixels wide.
std::shared_ptr<EnvelopeState> viga3Envelope(int width = 3000) {
  const std::string dat = vigastest::sourceFile("examples/viga3.dat");
  const projectfiles::Model model = projectfiles::readModel(dat, vigastest::sourceFile("examples/viga3.caf"));
  const auto variable = projectfiles::readLoadsFile(vigastest::sourceFile("examples/viga3q.caf"), model.bars);
  const auto env = alternancias::exactEnvelope(model, variable, alternancias::spansOf(model, dat), {});
  auto state = std::make_shared<EnvelopeState>();
  alternancias::fillEnvelopeState(*state, "viga3-envolvente", model, env, width, 400);
  return state;
}

// A state whose deflections are zero but at the points given.
void setDeflections(EnvelopeState& s, const std::vector<std::pair<int, float>>& values) {
  for (int P = 0; P <= s.lastPoint; ++P) s.points.DeflectionMax[P] = s.points.DeflectionMin[P] = 0;
  for (const auto& [P, v] : values) (v > 0 ? s.points.DeflectionMax : s.points.DeflectionMin)[P] = v;
}

bool crosses(const Element& line, const LabelBox& box) {
  const pictures::Spot a = line.points[0], b = line.points[1];
  for (int k = 0; k <= 64; ++k) {
    const double x = a.x + (b.x - a.x) * k / 64.0, y = a.y + (b.y - a.y) * k / 64.0;
    if (x > box.left && x < box.right && y > box.top && y < box.bottom) return true;
  }
  return false;
}

}  // namespace

// The largest reach up plus the largest down fill the band: a few tenths of
// a millimetre as much as a few millimetres.
TEST(EnvelopePicture, TheDeflectionFillsTheBandWhateverItsSize) {
  const auto state = viga3Envelope();
  struct Case {
    std::vector<std::pair<int, float>> values;
    int point, ordinate;  // kEnvelopeBand split in proportion: 240 / (3 + 1) per unit
  } cases[] = {{{{10, -0.41f}}, 10, -240}, {{{5, 3.0f}, {30, -1.0f}}, 5, 180}, {{{5, 3.0f}, {30, -1.0f}}, 30, -60}};
  for (const Case& c : cases) {
    EnvelopeState s = *state;
    setDeflections(s, c.values);
    const FittedDiagram d = fitDiagram(s, 1);
    const int drawn = c.values[0].second > 0 && c.point == c.values[0].first ? d.ordinates.DeflectionMaxY[c.point]
                                                                             : d.ordinates.DeflectionMinY[c.point];
    EXPECT_NEAR(drawn, c.ordinate, 1) << "point " << c.point;
    // The ordinate, drawn upward for a positive value, stays off the rows of values and the title.
    EXPECT_LT(d.state.layout.axisY - drawn, d.state.layout.labelY - 45) << c.point;
    EXPECT_GT(d.state.layout.axisY - drawn, 115 + 13) << c.point;
  }
}

// viga3 as it is, and narrow (a few pixels between points, as a short span
// or an overhang has them) with large sagging moments and upward
// deflections beside its second support, where the rows of values are.
TEST(EnvelopePicture, NoLineRunsThroughAValue) {
  const auto viga3 = viga3Envelope();
  EnvelopeState beside = *viga3Envelope(600);
  for (int P = 18; P <= 22; ++P) beside.points.MomentMaxLeft[P] = 60, beside.points.DeflectionMax[P] = 5;
  for (const EnvelopeState* state : {viga3.get(), &beside})
    for (int selector = 1; selector <= 3; ++selector)
      for (int width : {0, 700}) {  // as laid out, and spread over a page 700 pixels wide
        const FittedDiagram d = fitDiagram(*state, selector, width);
        pictures::RecordingCanvas canvas;
        envelope::drawDiagram(d.state, d.ordinates, selector, canvas);
        std::vector<PictureLabel> texts = d.peaks;
        for (const Element& e : canvas.elements)
          if (e.kind == Element::words)
            texts.push_back({static_cast<int>(e.points[0].x), static_cast<int>(e.points[0].y), e.text, {}});
        for (const PictureLabel& text : texts)
          for (const Element& line : canvas.elements) {
            if (line.kind != Element::line) continue;
            const pictures::Spot a = line.points[0], b = line.points[1];
            EXPECT_FALSE(crosses(line, labelBox(text.x, text.y, text.text)))
                << "diagram " << selector << ": \"" << text.text << "\" at (" << text.x << ", " << text.y
                << ") crossed by (" << a.x << ", " << a.y << ")-(" << b.x << ", " << b.y << ")";
          }
      }
}

// viga3's spans of 6, 8 and 6 m spread over the widths asked (the
// narrowest 320), its margins kept: the supports where their metres put them.
TEST(EnvelopePicture, ThePictureFitsTheWidthAsked) {
  const auto viga3 = viga3Envelope();
  const int widths[][2] = {{700, 640}, {2400, 2340}, {100, 260}};  // width, beam's pixels
  for (const auto& [width, beam] : widths) {
    const FittedDiagram d = fitDiagram(*viga3, 2, width);
    const envelope::DiagramLayout& l = d.state.layout;
    EXPECT_EQ(l.pointX.front(), 20) << width;
    EXPECT_EQ(l.pointX.back(), 20 + beam) << width;
    EXPECT_EQ(l.rightEnd, 20 + beam) << width;
    EXPECT_NEAR(l.pointX[20], 20 + beam * 6 / 20.0, beam * 0.02) << width;
    EXPECT_NEAR(l.pointX[40], 20 + beam * 14 / 20.0, beam * 0.02) << width;
    EXPECT_TRUE(std::is_sorted(l.pointX.begin(), l.pointX.end())) << width;
    for (const PictureLabel& peak : d.peaks) EXPECT_LE(labelBox(peak.x, peak.y, peak.text).right, 20 + beam + 40);
  }
}

// A span's extreme inside it is written once, near its place; one at a
// support is left to the rows under the beam.
TEST(EnvelopePicture, EachSpanExtremeInsideItIsWritten) {
  EnvelopeState s = *viga3Envelope();
  setDeflections(s, {{7, -2.5f}, {33, -1.25f}, {40, 0.5f}});
  const FittedDiagram d = fitDiagram(s, 1);
  const std::pair<const char*, int> expected[] = {{"-2.50", 7}, {"-1.25", 33}};
  ASSERT_EQ(d.peaks.size(), 2u);
  for (size_t k = 0; k < 2; ++k) {
    EXPECT_EQ(d.peaks[k].text, expected[k].first);
    const LabelBox box = labelBox(d.peaks[k].x, d.peaks[k].y, d.peaks[k].text);
    const int x = d.state.layout.pointX[expected[k].second];
    EXPECT_TRUE(box.left <= x && x <= box.right) << d.peaks[k].text;
    EXPECT_GT(box.top, d.state.layout.axisY) << "a downward deflection is written under the axis";
  }
}
