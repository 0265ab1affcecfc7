#pragma once
// The rules a model must keep, each one a small check that says why it is
// broken. The model reader stops a run with a rule's message; the editor shows
// the same rule's reason beside the cell at fault. A rule lives here once, so
// what the editor refuses is what the engines refuse.
#include <string>
#include <vector>

#include "common/model.h"

namespace common {

struct Fault {
  std::string message;  // the engine's text, byte for byte as a run prints it
  std::string reason;   // the rule said to the person typing (Spanish, Windows-1252)
  int field = -1;       // the value at fault: its position in the item, in file order
  explicit operator bool() const { return !message.empty(); }
};

// Throws RunError with the fault's message when there is a fault.
void refuse(const Fault& fault);

// A bar end, or a nodal load, on a node the model does not have: the envelope
// refuses its own tables with the same words.
extern const char* const kBarNodeError;
extern const char* const kNodalLoadError;

// Header: a title of at most 23 characters; a model with at least one bar,
// and no more bars than the diagram's point grid holds.
Fault titleFault(const std::string& title);

// The model file's name as calcest is given it (its side files' names are
// built from it): at most kMaxModelNameLength characters.
Fault modelFileNameFault(const std::string& name);
Fault noBarsFault(int nb);
Fault tooManyBarsFault(int nb);

// Two nodes with one label.
Fault duplicateNodeFault(int label);

// Field positions of a bar's two lines: label, node I, node J, material,
// section, type, carried integer, aclx, adlx, ablx, shear, taper.
enum BarField {
  kBarLabel,
  kBarNodeI,
  kBarNodeJ,
  kBarMaterial,
  kBarSection,
  kBarType,
  kBarCarried,
  kBarAclx,
  kBarAdlx,
  kBarAblx,
  kBarShear,
  kBarTaper
};

// aclx must not be 0 and the three fractions must add up to exactly 1.0.
Fault fractionsFault(int position, double aclx, double adlx, double ablx);

// Finds the bar's nodes among nodes sorted by label (nodeI, nodeJ set) and
// computes its geometry and stations. Both nodes must exist and differ, the
// bar must have a length, and a horizontal (vertical) bar must run to the
// right (upward).
Fault placeBar(BarInput& bar, const std::vector<Node>& sortedNodes);

// Geometry and stations of a bar from its two nodes, or why it has none.
Fault barGeometryFault(BarInput& bar, const Node& nodeI, const Node& nodeJ);

// The bar's material and section positions must lie in the tables (1-based);
// then their properties are applied to it.
Fault furnishBar(BarInput& bar, const std::vector<Material>& materials, const std::vector<Section>& sections);

// The properties the bar takes from its material and section must be
// physical where the model uses them: E, A and I greater than 0, and G not
// negative when the bar includes shear deformation (0 is shearFault's). The
// message names the material or section, its line and the bar.
Fault propertyFault(const BarInput& bar, const Material& material, const Section& section);

// Shear deformation needs a shear stiffness G·A (of the bar as furnished).
Fault shearFault(const BarInput& bar);

// Supports, ties and nodal loads name existing nodes; a tie's directions are
// 1, 2 or 3. Each finds its node indices among nodes sorted by label.
Fault supportNodeFault(Support& support, const std::vector<Node>& sortedNodes);
// A node carries one support: its code says what holds each direction (two
// supports on one node are a typing slip, and the engine would add both).
Fault duplicateSupportFault(int label);
enum TieField { kTieNodeA, kTieNodeB, kTieDirA, kTieDirB, kTieValue };
Fault tieFault(Tie& tie, const std::vector<Node>& sortedNodes);
Fault nodalLoadNodeFault(NodalLoad& load, const std::vector<Node>& sortedNodes);

}  // namespace common
