#pragma once
// The drawing of a designed beam, onto the suite's canvas: the elevation with
// every bar at its depth and length, the stirrups and the supports; each mark
// of the schedule drawn apart at its place (bars above and below the
// elevation, the stirrup beside the cross sections) with its label; the
// stirrup zones, the spans' dimensions and the cross sections at the
// governing points. Bars and stirrups of the schedule are drawn to one scale
// in both directions, each inside an item of kind bar whose index is its mark.
#include <string>

#include "armado/design.h"
#include "armado/schedule.h"
#include "pictures/canvas.h"

namespace armado {

struct DesignFrame {
  double width = 0, height = 0;
  double scale = 0;           // picture pixels per mm of the pieces and along the beam
  double elevationScale = 0;  // pixels per mm across the elevation's depth
  double sectionScale = 0;    // pixels per mm of the cross sections
};
DesignFrame designFrame(const Design& design, const Schedule& schedule);

void drawDesign(pictures::Canvas& canvas, const std::string& name, const Design& design, const Schedule& schedule,
                const DesignFrame& frame);

// The same drawing as a standalone SVG picture and as a CAD script.
struct DesignPictures {
  std::string svg, script;
};
DesignPictures designPictures(const std::string& name, const Design& design, const Schedule& schedule);

}  // namespace armado
