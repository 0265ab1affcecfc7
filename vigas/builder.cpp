#include "vigas/builder.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "common/capacities.h"
#include "common/run_error.h"
#include "vigas/sections.h"

namespace vigas {

using namespace common;

int supportCodeOf(SupportKind kind) {
  switch (kind) {
    case SupportKind::pinned: return 110;
    case SupportKind::fixed: return 111;
    case SupportKind::spring: return 20;
    case SupportKind::roller: break;
  }
  return 10;
}

std::string readSupportWord(const std::string& word, SupportChoice& choice) {
  const size_t colon = word.find(':');
  const std::string kind = word.substr(0, colon);
  if (kind.empty()) return "apoyo sin tipo: \"" + word + "\"";
  const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(kind[0])));
  const std::string full = first == 'a'   ? "articulado"
                           : first == 'd' ? "deslizante"
                           : first == 'e' ? "empotrado"
                           : first == 'm' ? "muelle"
                                          : "";
  std::string lower = kind;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (full.empty() || full.compare(0, lower.size(), lower) != 0)
    return "tipo de apoyo desconocido: \"" + kind + "\" (articulado, deslizante, empotrado o muelle:rigidez)";
  choice.kind = first == 'a'   ? SupportKind::pinned
                : first == 'd' ? SupportKind::roller
                : first == 'e' ? SupportKind::fixed
                               : SupportKind::spring;
  choice.stiffness = 0;
  if (choice.kind == SupportKind::spring) {
    char* end = nullptr;
    std::string number = colon == std::string::npos ? "" : word.substr(colon + 1);
    for (char& c : number)
      if (c == ',') c = '.';
    choice.stiffness = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0') return "un muelle lleva su rigidez: muelle:RIGIDEZ";
  } else if (colon != std::string::npos) {
    return "solo un muelle lleva rigidez: \"" + word + "\"";
  }
  return "";
}

namespace {

// Materials in kN and m (moduli kN/m², specific weight kN/m³, expansion per
// degree Celsius), each value in five significant digits. Concrete: E =
// 8500·(fck + 8)^(1/3) MPa, the secant modulus of the Spanish structural
// concrete code (EHE-08, art. 39.6), ν = 0.2 and 25 kN/m³ for reinforced
// concrete (EN 1991-1-1, annex A); α = 1e-5 (EN 1992-1-1, 3.1.3). Steel: E =
// 210 GPa, G = 81 GPa, 78.5 kN/m³, α = 1.2e-5 (EN 1993-1-1, 3.2.6; EN
// 1991-1-1, annex A).
//
//   name     E (kN/m²)   G (kN/m²)   γ (kN/m³)  α (1/°C)
//   HA-25    2.7264e7    1.1360e7    25         1.0e-5
//   HA-30    2.8577e7    1.1907e7    25         1.0e-5
//   HA-35    2.9779e7    1.2408e7    25         1.0e-5
//   HA-40    3.0891e7    1.2871e7    25         1.0e-5
//   HA-45    3.1928e7    1.3303e7    25         1.0e-5
//   HA-50    3.2902e7    1.3709e7    25         1.0e-5
//   S235     2.1e8       8.1e7       78.5       1.2e-5
//   S275     2.1e8       8.1e7       78.5       1.2e-5
//   S355     2.1e8       8.1e7       78.5       1.2e-5
MaterialPreset concrete(int fck) {
  const double E = 8500e3 * std::cbrt(fck + 8.0);
  return {"HA-" + std::to_string(fck), {E, E / (2 * (1 + 0.2)), 25.0, 1.0e-5}};
}

std::vector<MaterialPreset> presetsInKilonewtons() {
  std::vector<MaterialPreset> presets;
  for (int fck = 25; fck <= 50; fck += 5) presets.push_back(concrete(fck));
  for (const char* steel : {"S235", "S275", "S355"}) presets.push_back({steel, {2.1e8, 8.1e7, 78.5, 1.2e-5}});
  return presets;
}

double fiveDigits(double value) {
  if (!(value > 0)) return value;
  const double scale = std::pow(10.0, 4 - static_cast<int>(std::floor(std::log10(value))));
  return std::round(value * scale) / scale;
}

// Factors from kN and m to the unit system: force, length; α per degree
// Fahrenheit in kips and feet.
struct UnitFactors {
  double force, length, perDegree;
};
UnitFactors factorsTo(int unitCode) {
  if (unitCode == 0) return {1.0 / 9.80665, 1.0, 1.0};                         // tonne-force = 9.80665 kN
  if (unitCode == 2) return {1.0 / 4.4482216152605, 1.0 / 0.3048, 1.0 / 1.8};  // kip, foot
  return {1.0, 1.0, 1.0};
}

std::string choicesFault(const BeamChoices& c) {
  if (c.spans.empty()) return "falta al menos un vano";
  for (double span : c.spans)
    if (!(span > 0) || !std::isfinite(span)) return "la luz de cada vano debe ser mayor que 0";
  if (!(c.leftOverhang >= 0) || !(c.rightOverhang >= 0)) return "un voladizo no puede ser negativo";
  if (c.supports.size() != c.spans.size() + 1) return "hace falta un apoyo en cada extremo de vano";
  if (c.barsPerSpan < 1) return "cada vano lleva al menos una barra";
  bool heldAlong = false;
  for (const SupportChoice& s : c.supports) {
    if (s.kind == SupportKind::spring && !(s.stiffness > 0)) return "la rigidez de un muelle debe ser mayor que 0";
    heldAlong = heldAlong || s.kind == SupportKind::pinned || s.kind == SupportKind::fixed;
  }
  if (!heldAlong) return "la viga necesita un apoyo articulado o empotrado que la sujete en horizontal";
  const SectionChoice& s = c.section;
  if (s.rectangle ? !(s.b > 0 && s.h > 0) : !(s.A > 0 && s.I > 0 && s.shearArea >= 0))
    return "la secci\xF3n necesita dimensiones (o \xE1rea e inercia) mayores que 0";
  if (!(c.material.E > 0))
    return "el m\xF3"
           "dulo de elasticidad debe ser mayor que 0";
  const size_t pieces = c.spans.size() + (c.leftOverhang > 0) + (c.rightOverhang > 0);
  if (pieces * static_cast<size_t>(c.barsPerSpan) > static_cast<size_t>(kMaxBars))
    return formatText(
        "la viga tendr\xED"
        "a %zu barras; el m\xE1ximo es %d",
        pieces * static_cast<size_t>(c.barsPerSpan), kMaxBars);
  return "";
}

// The abscissae of the nodes, left to right, and which of them are supports.
struct Layout {
  std::vector<double> xs;
  std::vector<int> supportNodes;  // positions in xs
};

Layout layoutOf(const BeamChoices& c) {
  Layout layout;
  std::vector<double> pieces;
  if (c.leftOverhang > 0) pieces.push_back(c.leftOverhang);
  pieces.insert(pieces.end(), c.spans.begin(), c.spans.end());
  if (c.rightOverhang > 0) pieces.push_back(c.rightOverhang);
  const size_t firstSpan = c.leftOverhang > 0 ? 1 : 0;
  double start = 0.0;
  layout.xs.push_back(start);
  for (size_t p = 0; p < pieces.size(); ++p) {
    if (p == firstSpan) layout.supportNodes.push_back(static_cast<int>(layout.xs.size()) - 1);
    for (int k = 1; k <= c.barsPerSpan; ++k)
      layout.xs.push_back(k == c.barsPerSpan ? start + pieces[p] : start + pieces[p] * k / c.barsPerSpan);
    start += pieces[p];
    if (p >= firstSpan && p < firstSpan + c.spans.size())
      layout.supportNodes.push_back(static_cast<int>(layout.xs.size()) - 1);
  }
  return layout;
}

Section sectionOf(const SectionChoice& s) {
  Section section;
  section.id = 1;
  if (s.rectangle) {
    makeRectangle(section, s.b, s.h);
  } else {
    section.A = s.A;
    section.I = s.I;
  }
  return section;
}

// The file has no shear area: the engine's shear stiffness G·A holds G·As
// when the material's G is taken as G·As/A.
Material materialOf(const BeamChoices& c) {
  Material m;
  m.id = 1;
  m.E = c.material.E;
  m.G = c.material.G;
  if (!c.section.rectangle && c.section.shearArea > 0) m.G = c.material.G * c.section.shearArea / c.section.A;
  m.gamma = c.material.gamma;
  m.alpha = c.material.alpha;
  return m;
}

Support supportOf(const SupportChoice& choice, int nodeLabel) {
  Support support;
  support.label = nodeLabel;
  support.code = supportCodeOf(choice.kind);
  if (choice.kind == SupportKind::spring) setSupportValue(support, SupportField::ky, choice.stiffness);
  return support;
}

// A uniform load of intensity -q (downward) over the whole of every bar.
std::vector<BarLoad> uniformLoads(const ModelData& m, double q) {
  std::vector<BarLoad> loads;
  if (q == 0) return loads;
  for (size_t k = 1; k < m.bars.size(); ++k) {
    BarLoad load;
    load.barLabel = m.bars[k].label;
    load.ltype = 3;
    load.c = m.nodes[static_cast<size_t>(m.bars[k].labelJ)].x - m.nodes[static_cast<size_t>(m.bars[k].labelI)].x;
    load.q = -q;
    load.dir = 'y';
    loads.push_back(load);
  }
  return loads;
}

}  // namespace

std::vector<MaterialPreset> materialPresets(int unitCode) {
  // The centimetre systems (3, 4) name no force unit: no values to offer.
  if (unitCode < 0 || unitCode > 2) return {};
  const UnitFactors f = factorsTo(unitCode);
  std::vector<MaterialPreset> presets = presetsInKilonewtons();
  for (MaterialPreset& p : presets) {
    const double stress = f.force / (f.length * f.length);
    p.values.E *= stress;
    p.values.G *= stress;
    p.values.gamma *= f.force / (f.length * f.length * f.length);
    p.values.alpha *= f.perDegree;
    for (double* value : {&p.values.E, &p.values.G, &p.values.gamma, &p.values.alpha}) *value = fiveDigits(*value);
  }
  return presets;
}

std::string materialPresetName(const Material& material, int unitCode) {
  for (const MaterialPreset& p : materialPresets(unitCode))
    if (material.E == p.values.E && material.G == p.values.G && material.gamma == p.values.gamma &&
        material.alpha == p.values.alpha)
      return p.name;
  return "";
}

bool applyMaterialPreset(Material& material, const std::string& name, int unitCode) {
  for (const MaterialPreset& p : materialPresets(unitCode)) {
    if (p.name.size() != name.size() || !std::equal(name.begin(), name.end(), p.name.begin(), [](char a, char b) {
          return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
        }))
      continue;
    material.E = p.values.E;
    material.G = p.values.G;
    material.gamma = p.values.gamma;
    material.alpha = p.values.alpha;
    return true;
  }
  return false;
}

BuiltBeam buildContinuousBeam(const BeamChoices& c) {
  BuiltBeam built;
  built.reason = choicesFault(c);
  if (!built.reason.empty()) return built;
  Content& content = built.content;
  ModelData& m = content.model;
  m.header.title = c.title;
  m.header.echoed = 1;
  m.header.unitCode = c.unitCode;
  m.header.selfWeight = c.selfWeight ? 1 : 0;
  const Layout layout = layoutOf(c);
  m.nodes.assign(1, Node{});
  for (size_t k = 0; k < layout.xs.size(); ++k) {
    Node node;
    node.label = node.index = static_cast<int>(k) + 1;
    node.x = layout.xs[k];
    m.nodes.push_back(node);
  }
  m.bars.assign(1, BarInput{});
  for (size_t k = 1; k < layout.xs.size(); ++k) {
    BarInput bar;
    bar.index = bar.label = bar.labelI = static_cast<int>(k);
    bar.labelJ = static_cast<int>(k) + 1;
    bar.material = bar.section = bar.type = 1;
    bar.aclx = 1.0;
    bar.shear = !c.section.rectangle && c.section.shearArea > 0 ? 1 : 0;
    m.bars.push_back(bar);
  }
  m.sections = {Section{}, sectionOf(c.section)};
  m.materials = {Material{}, materialOf(c)};
  m.supports.assign(1, Support{});
  for (size_t k = 0; k < c.supports.size(); ++k)
    m.supports.push_back(supportOf(c.supports[k], layout.supportNodes[k] + 1));
  m.ties.assign(1, Tie{});
  m.nodalLoads.assign(1, NodalLoad{});
  content.cases = {LoadCase{"permanente", uniformLoads(m, c.permanentLoad)},
                   LoadCase{"variable", uniformLoads(m, c.variableLoad)}};
  return built;
}

}  // namespace vigas
