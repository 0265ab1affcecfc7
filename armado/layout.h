#pragma once
// The bars of one face of the beam: continuous corner bars end to end, and
// one group of extra bars over each stretch where they do not suffice, each
// group one diameter, anchored past the stations where it stops being needed.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "armado/design.h"

namespace armado {

// What one face needs, station by station, and where its bars may go.
struct FaceProblem {
  int face = kBottom;
  std::vector<double> x;               // the stations (mm)
  std::vector<double> required;        // steel area (mm2)
  std::vector<double> quasiPermanent;  // moment putting the face in tension (N mm, 0: none)
  double b = 0, h = 0;
  // Where the bars end at the beam's ends (the concrete's end less the
  // cover), where the anchorage of a bar needed at the end station is measured
  // from (a support's inner face, or the tip of an overhang), and the longest
  // bend each end takes.
  double limitStart = 0, limitEnd = 0;
  double anchorStart = 0, anchorEnd = 0;
  double legLimitStart = 0, legLimitEnd = 0;
  // The first and last station of each span between supports (the quarter
  // of the span's bottom steel that goes on into the supports).
  std::vector<std::pair<int, int>> supportedSpans;
  Materials materials;
  DesignData data;
  double wk = 0;
};

// Why a face could not be laid out: the first station that no arrangement
// holds, and the reason in the program's words.
struct LayoutFailure {
  int station = -1;
  std::string reason;
};

struct FaceLayout {
  std::vector<BarGroup> groups;  // the continuous group, then the extra groups left to right
  double weight = 0;             // kg
};

std::optional<FaceLayout> layoutFace(const FaceProblem& problem, LayoutFailure& failure);

// The room across the width for bars in one layer: the width inside the
// stirrups, and how many bars of `extra` go beside `count` of `corner`.
double widthInsideStirrups(const DesignData& data, double b);
int barsBeside(const DesignData& data, double b, int count, double corner, double extra);

}  // namespace armado
