#include "envolventes/engine/layout.h"

#include <algorithm>
#include <cmath>

namespace envelope {

using namespace common;

int beamPixelsFor(int areaWidth) { return 40 * (1 + static_cast<int>(areaWidth * 0.8 * 0.025)); }
int axisYFor(int areaHeight) { return 2 * static_cast<int>(areaHeight * 0.5 * 0.5); }
int labelYFor(int areaHeight) { return 2 * static_cast<int>(areaHeight * 0.7 * 0.5); }

int evenPixelLength(float xI, float xJ, int beamPixels, float beamLength) {
  // A beam without length (or with unreadable abscissae) gets no pixels rather
  // than an undefined conversion.
  double pixels = std::trunc(static_cast<double>((xJ - xI) * static_cast<float>(beamPixels) / beamLength));
  if (!(beamLength > 0) || !std::isfinite(pixels)) pixels = 0;
  int length = static_cast<int>(std::clamp(pixels, -1.0e6, 1.0e6));
  return 2 * (length / 2);
}

int segmentCountFor(int pixelLength) {
  int n = pixelLength <= 20 ? 1 : (pixelLength + 19) / 20;
  if (pixelLength != 20 * n && pixelLength < 20 * n - 10) --n;
  return n;
}

void computeLayout(ProjectTables& p, int areaWidth, int areaHeight, DiagramLayout& layout) {
  layout.areaWidth = areaWidth;
  layout.areaHeight = areaHeight;
  layout.beamPixels = beamPixelsFor(areaWidth);
  layout.axisY = axisYFor(areaHeight);
  layout.labelY = labelYFor(areaHeight);
  int steps = 0;
  for (int i = 1; i <= p.barCount; ++i) {
    BarRecord& b = p.bars[i];
    b.pixelLength = evenPixelLength(p.nodes[b.nodeI].x, p.nodes[b.nodeJ].x, layout.beamPixels, p.beamLength);
    b.segmentCount = segmentCountFor(b.pixelLength);
    b.drawnLength = 20 * b.segmentCount;
    steps += b.segmentCount;
  }
  layout.rightEnd = 20 + 20 * steps;
  layout.pointX.assign(p.lastPoint + 1, 20);
  for (int P = 0; P < p.lastPoint; ++P) layout.pointX[P + 1] = layout.pointX[P] + p.bars[P / 20 + 1].segmentCount;
}

}  // namespace envelope
