#pragma once
// Pixel layout of the beam: the area's axis and label lines, each bar's length
// in pixels rounded to steps of 20, and the x of every grid point.
#include "envolventes/engine/envelope_state.h"

namespace envelope {

int beamPixelsFor(int areaWidth);  // 40 * (1 + trunc(width * 0.8 * 0.025))
int axisYFor(int areaHeight);      // 2 * trunc(height * 0.5 * 0.5)
int labelYFor(int areaHeight);     // 2 * trunc(height * 0.7 * 0.5)

// A bar's pixel length made even; then its number of 20-pixel steps.
int evenPixelLength(float xI, float xJ, int beamPixels, float beamLength);
int segmentCountFor(int pixelLength);

// Fills the bars' layout fields and `layout` for `project` in an area of
// width x height.
void computeLayout(ProjectTables& project, int areaWidth, int areaHeight, DiagramLayout& layout);

}  // namespace envelope
