#pragma once
// A new continuous beam from a few choices: spans and overhangs, one section,
// one material, the kind of every support, the unit system, the own weight,
// the bars per span, and a permanent and a variable uniform load. It gives a
// complete model and two load cases, "permanente" (the project's own loads
// file) and "variable".
#include <string>
#include <vector>

#include "vigas/content.h"

namespace vigas {

// What each kind is in the model file: pinned 110 (dx dy), roller 10 (dy),
// fixed 111 (dx dy rz), spring 20 (ky): a vertical spring, free to turn and
// to slide.
enum class SupportKind { pinned, roller, fixed, spring };
int supportCodeOf(SupportKind kind);

struct SupportChoice {
  SupportKind kind = SupportKind::roller;
  double stiffness = 0;  // a spring's, force per length
};

// One support as typed: articulado, deslizante, empotrado, or muelle with
// its stiffness after a colon ("muelle:50000"), each word shortened at will
// to its first letters. "" when read, else why not.
std::string readSupportWord(const std::string& word, SupportChoice& choice);

struct SectionChoice {
  bool rectangle = true;
  double b = 0, h = 0;                 // a rectangle's width and height
  double A = 0, I = 0, shearArea = 0;  // otherwise; a shear area switches shear deformation on
};

struct MaterialChoice {
  double E = 0, G = 0, gamma = 0, alpha = 0;  // in the unit system's force and length
};

// Standard materials in a unit system (unit codes 0 t-m, 1 kN-m, 2 kip-ft;
// none for the others).
struct MaterialPreset {
  std::string name;
  MaterialChoice values;
};
std::vector<MaterialPreset> materialPresets(int unitCode);
// The preset a material's values are ("" when none), and a material given
// the values of a preset named so (any case); false when there is none.
std::string materialPresetName(const common::Material& material, int unitCode);
bool applyMaterialPreset(common::Material& material, const std::string& name, int unitCode);

struct BeamChoices {
  std::string title = "VIGA";
  int unitCode = 1;
  std::vector<double> spans;  // between supports, left to right
  double leftOverhang = 0, rightOverhang = 0;
  std::vector<SupportChoice> supports;  // one per span end: spans + 1
  SectionChoice section;
  MaterialChoice material;
  bool selfWeight = true;                      // in the permanent case
  int barsPerSpan = 1;                         // also for each overhang
  double permanentLoad = 0, variableLoad = 0;  // downward, force per length, on the whole beam
};

struct BuiltBeam {
  std::string reason;  // why the choices make no beam; "" when built
  Content content;
};
BuiltBeam buildContinuousBeam(const BeamChoices& choices);

}  // namespace vigas
