#pragma once
// Everything the envelope viewer holds for the whole program run: the tables of
// the last project read completely, the layout drawn from them, and the
// envelopes, overall extremes and largest scales, which only grow. A second run
// (after New or Open) combines its projects with what is held here.
#include <cmath>
#include <string>
#include <vector>

#include "common/capacities.h"
#include "projectfiles/result_files.h"

namespace envelope {

// A table value that is zero to the fifth decimal: v * 100000, truncated, is 0
// (the reading's load lengths, the envelopes' scale ranges). Truncated in double
// so that no value can overflow an integer.
inline bool IsZero(float v) { return std::trunc(static_cast<double>(v * 100000.0f)) == 0.0; }

struct NodeRecord {
  int label = 0;
  float x = 0, y = 0;
};

struct BarRecord {
  int label = 0, nodeI = 0, nodeJ = 0;
  // Layout of the bar, filled after the project's point results are read.
  int pixelLength = 0, segmentCount = 0, drawnLength = 0;
};

struct SupportRecord {
  int node = 0, code = 0;
  // A fixed support (111): its results give a moment reaction, which the
  // envelope reads and adds up; no other support's.
  bool reactsWithMoment() const { return code == 111; }
};

struct NodalLoadRecord {
  int node = 0;
  int code[3] = {1, 2, 3};
  float value[3] = {0, 0, 0};
};

using PointResult = projectfiles::DiagramPoint<float>;

using NodeDeflection = projectfiles::NodeLine<float>;
using BarEndForces = projectfiles::BarLine<float>;
using ReactionRecord = projectfiles::SupportLine<float>;

// One row of a force table (.esf): the project's values are in `max`; the
// envelope's table holds both extremes.
struct ForceColumn {
  float max = 0, min = 0;
};

struct ForceTableRow {
  int index = 0;
  float x = 0;
  ForceColumn Qi, Qd, Mfi, Mfd, CC, Mf;
};

// A project's own force table, read with the project. Its rows are combined
// into the envelope's table only when that is written, so the outcome is kept:
// all rows there, more rows than its count says, or a file cut short.
struct ProjectForceTable {
  enum class Rows { Complete, TooMany, CutShort };
  Rows rows = Rows::Complete;
  std::vector<ForceTableRow> table;  // 0..forceTableLastIndex when Complete
};

struct LoadRecord {
  int type = 0;  // 1 concentrated force, 2 concentrated moment, 3..5 distributed
  int startPoint = 0, endPoint = 0;
  float value = 0, xStart = 0, xEnd = 0;
};

struct GlobalExtremes {
  float deflectionMax = 0, deflectionMin = 0, deflectionSpan = 0;
  float momentMax = 0, momentMin = 0;
  float shearMax = 0, shearMin = 0;
};

struct ProjectScales {
  float deflectionRange = 0, momentRange = 0, shearRange = 0;
  float deflectionScale = 0, momentScale = 0, shearScale = 0;
};

struct LargestScales {
  float deflectionScaleMax = 0, momentScaleMax = 0, shearScaleMax = 0;
};

// Per-point envelopes (points 0..kMaxDiagramPoints-1) and their ordinates in pixels.
struct PointEnvelopes {
  PointEnvelopes();
  std::vector<float> x;
  std::vector<float> DeflectionMax, DeflectionMin;
  std::vector<float> MomentMaxLeft, MomentMinLeft, MomentMaxRight, MomentMinRight;
  std::vector<float> ShearMaxLeft, ShearMinLeft, ShearMaxRight, ShearMinRight;
};

struct EnvelopeOrdinates {
  EnvelopeOrdinates();
  std::vector<int> DeflectionMaxY, DeflectionMinY;
  std::vector<int> MomentMaxLeftY, MomentMinLeftY, MomentMaxRightY, MomentMinRightY;
  std::vector<int> ShearMaxLeftY, ShearMinLeftY, ShearMaxRightY, ShearMinRightY;
};

struct DiagramLayout {
  int areaWidth = 3000, areaHeight = 400;
  int beamPixels = 0, axisY = 0, labelY = 0;
  int rightEnd = 20;
  std::vector<int> pointX;  // x of points 0..lastPoint
};

// The tables one project fills; after a project is read completely they become
// the current project's tables (the last project's geometry is what is drawn).
struct ProjectTables {
  int captionSet = 0, unitSystem = 0;
  int barCount = 0, nodeCount = 0, supportCount = 0, nodalLoadCount = 0;
  int materialCount = 0, sectionCount = 0, unusedCount = 0, tieCount = 0, selfWeight = 0;
  float beamLength = 0;
  int lastPoint = 0;
  int forceTableLastIndex = 0;                  // first line of the project's .esf
  std::vector<NodeRecord> nodes;                // 1..nodeCount
  std::vector<BarRecord> bars;                  // 1..barCount
  std::vector<SupportRecord> supports;          // 1..supportCount
  std::vector<NodalLoadRecord> nodalLoads;      // 1..99, by node label
  std::vector<NodeDeflection> nodeDeflections;  // 1..nodeCount, this project's .res
  std::vector<BarEndForces> barForces;          // 1..barCount
  std::vector<ReactionRecord> reactions;        // 1..supportCount
  std::vector<PointResult> points;              // 0..lastPoint
  bool pointsInOrder = false;  // abscissae finite, moderate and ascending: pointAt may halve its search
  ProjectForceTable forceTable;
  std::vector<LoadRecord> loads;  // 1..number of load lines
};

class EnvelopeState {
 public:
  EnvelopeState();

  // Names the envelope and forms the script names NAMEd.scr, NAMEm.scr and
  // NAMEc.scr. Until a name is given the script names are empty, so no script
  // can be created.
  void setEnvelopeName(const std::string& name);
  const std::string& envelopeName() const { return envelopeName_; }
  // Script file of diagram kind 1, 2 or 3; empty for any other kind.
  std::string scriptName(int selector) const;

  // Tables of the last project read completely.
  ProjectTables current;
  int lastPoint = 0;            // of the last project read completely
  int forceTableLastIndex = 0;  // `n`: highest point index of the last project's .esf

  // Reference counts of the first project of the running run, and its name.
  std::string referenceProject;
  int referenceNodeCount = 0, referenceBarCount = 0, referenceSupportCount = 0, referenceLastPoint = 0;
  std::vector<double> referenceNodeX;  // node abscissae, in label order
  int referenceUnitSystem = 0;

  // Envelopes: only grow for the whole program run.
  std::vector<NodeDeflection> nodeDeflectionMax, nodeDeflectionMin;  // 1..kMaxEnvelopeNodes
  std::vector<BarEndForces> barForcesMax, barForcesMin;              // 1..kMaxBars
  std::vector<ReactionRecord> reactionMax, reactionMin;              // 1..kMaxEnvelopeSupports
  PointEnvelopes points;
  GlobalExtremes extremes;
  ProjectScales projectScales;  // of the last project
  LargestScales largestScales;
  EnvelopeOrdinates ordinates;
  DiagramLayout layout;

 private:
  std::string envelopeName_;
  bool named_ = false;
};

}  // namespace envelope
