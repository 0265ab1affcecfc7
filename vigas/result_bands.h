#pragma once
// The results page's diagrams of a continuous beam, laid out for the window
// rather than for the report: moment, shear and deflection in three bands of
// the height given, one below the other, each curve scaled to fill its band,
// and each span's extremes (those of the per-span table, an overhang's tip
// deflection too) written beside the curve in the window's own font, clear of
// one another and inside their band.
#include <string>
#include <vector>

#include "vigas/analysis.h"

namespace vigas {

// The window font's width of a digit and height of a line, in pixels.
struct TextMetrics {
  int charWidth = 7, lineHeight = 15;
};

struct BandLabel {
  int left = 0, top = 0, right = 0, bottom = 0;  // the box the text takes
  std::string text;
};

struct BandPoint {
  int x = 0, y = 0;
};

enum class BandKind { Moment, Shear, Deflection };

struct ResultBand {
  BandKind kind = BandKind::Moment;
  std::string title;  // with its unit, Windows-1252
  int top = 0, height = 0, axisY = 0;
  std::vector<BandPoint> curve;   // along the beam, from the axis back to it
  std::vector<int> supports;      // x of each support on the axis
  std::vector<BandLabel> labels;  // the values, each once
};

// Empty unless spanSummaries(results) has spans; else the three bands in the
// order above, `width` × `height` pixels in all (more when that leaves a
// band less than three lines and 24 pixels, or the beam less than 16 digits).
std::vector<ResultBand> resultBands(const CaseResults& results, int width, int height, const TextMetrics& metrics);

}  // namespace vigas
