#include "common/model.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/model_rules.h"
#include "common/run_error.h"

namespace common {

UnitConstants unitConstantsFor(int unitCode) {
  if (unitCode == 3 || unitCode == 4) return {980.6, 10.0};
  return {9.806, 1000.0};
}

namespace {
ScanItem itemName(const char* what, int position, const char* part = nullptr) { return {what, position, part}; }
}  // namespace

ModelHeader ModelReader::readHeader() {
  ModelHeader header;
  char title[1024] = {};
  // The title is judged before its codes are read: one longer than the buffer
  // would leave the rest of its word where a code is looked for.
  in_.read("l\xEDnea de t\xEDtulo", "%1023s", title);
  header.title = title;
  if (checking_) refuse(titleFault(header.title));
  in_.read("l\xEDnea de t\xEDtulo", "   %d    %d", &header.echoed, &header.unitCode);
  in_.read("l\xEDnea de cantidades", "%d %d %d %d %d %d %d %d %d", &header.nb, &header.nn, &header.nsup, &header.nload,
           &header.nmat, &header.nsec, &header.unusedCount, &header.ntie, &header.selfWeight);
  in_.read("n\xFAmero real tras las cantidades", "%lf", &header.extra);
  const int counts[] = {header.nb, header.nn, header.nsup, header.nload, header.nmat, header.nsec, header.ntie};
  long long total = 0;
  for (int count : counts) {
    if (count < 0) throw RunError("ERROR EN LA CABECERA DEL MODELO: CANTIDAD NEGATIVA\n");
    total += count;
  }
  // Every entry takes at least two bytes of text, so larger counts cannot be
  // genuine; refusing them keeps a damaged header from asking for huge tables.
  long long size = in_.sizeInBytes();
  if (size >= 0 && 2 * total > size)
    throw RunError("ERROR EN LA CABECERA DEL MODELO: LAS CANTIDADES NO CABEN EN EL FICHERO\n");
  return header;
}

void sortNodesByLabel(std::vector<Node>& nodes) {
  // Labels are unique (checked by the caller), so any correct sort gives the one
  // order the freedoms are numbered by.
  std::sort(nodes.begin() + 1, nodes.end(), [](const Node& a, const Node& b) { return a.label < b.label; });
  for (size_t k = 1; k < nodes.size(); ++k) nodes[k].index = static_cast<int>(k);
}

int findNodeIndex(const std::vector<Node>& nodes, int label) {
  auto first = nodes.begin() + 1;
  auto it = std::lower_bound(first, nodes.end(), label, [](const Node& n, int l) { return n.label < l; });
  return (it != nodes.end() && it->label == label) ? it->index : 0;
}

std::vector<Node> ModelReader::readNodes(int nn) {
  std::vector<Node> nodes(static_cast<size_t>(nn) + 1);
  for (int k = 1; k <= nn; ++k) {
    Node& node = nodes[k];
    in_.read(itemName("nodo", k), "%d %lf %lf", &node.label, &node.x, &node.y);
    node.index = k;
  }
  if (!checking_) return nodes;  // as typed: in file order
  sortNodesByLabel(nodes);
  for (int k = 2; k <= nn; ++k)
    if (nodes[k].label == nodes[k - 1].label) refuse(duplicateNodeFault(nodes[k].label));
  return nodes;
}

void computeBarGeometry(BarInput& bar, const Node& nodeI, const Node& nodeJ) {
  refuse(barGeometryFault(bar, nodeI, nodeJ));
}

std::vector<BarInput> ModelReader::readBars(int nb, const std::vector<Node>& nodes, int& maxw) {
  std::vector<BarInput> bars(static_cast<size_t>(nb) + 1);
  for (int i = 1; i <= nb; ++i) {
    BarInput& bar = bars[i];
    bar.index = i;
    in_.read(itemName("barra", i, "primera l\xEDnea"), "%d %d %d %d %d %d %d", &bar.label, &bar.labelI, &bar.labelJ,
             &bar.material, &bar.section, &bar.type, &bar.type7);
    in_.read(itemName("barra", i, "segunda l\xEDnea"), "%lf %lf %lf %d %lf", &bar.aclx, &bar.adlx, &bar.ablx,
             &bar.shear, &bar.taper);
    if (!checking_) continue;
    refuse(fractionsFault(i, bar.aclx, bar.adlx, bar.ablx));
    refuse(placeBar(bar, nodes));
    int span = 3 * (std::abs(bar.nodeI - bar.nodeJ) + 1);
    maxw = std::max(maxw, span);
  }
  return bars;
}

std::vector<Section> ModelReader::readSections(int nsec) {
  std::vector<Section> sections(static_cast<size_t>(nsec) + 1);
  for (int k = 1; k <= nsec; ++k) {
    Section& s = sections[k];
    in_.read(itemName("secci\xF3n", k), "%d  %lf %lf  %lf  %lf", &s.id, &s.A, &s.I, &s.b, &s.h);
    s.line = in_.line();
  }
  return sections;
}

std::vector<Material> ModelReader::readMaterials(int nmat, double g) {
  std::vector<Material> materials(static_cast<size_t>(nmat) + 1);
  for (int k = 1; k <= nmat; ++k) {
    Material& m = materials[k];
    in_.read(itemName("material", k), " %d %lf %lf %lf  %lf", &m.id, &m.E, &m.G, &m.gamma, &m.alpha);
    m.line = in_.line();
    m.rho = m.gamma / g;
  }
  return materials;
}

void applyBarProperties(BarInput& bar, const Material& material, const Section& section) {
  bar.E = material.E;
  bar.G = material.G;
  bar.A = section.A;
  bar.I = section.I;
  bar.b = section.b;
  bar.h = section.h;
  bar.alpha = material.alpha;
  bar.w = material.gamma * bar.A;
  bar.m = material.rho * bar.A;
  if (bar.taper != 1.0) {
    // Linear haunch: properties of the mean height.
    bar.h = bar.h * (1.0 + bar.taper) / 2.0;
    bar.A = bar.h * bar.b;
    bar.w = material.gamma * bar.A;
    bar.m = material.rho * bar.A;
    bar.I = bar.I * (1.0 + bar.taper * bar.taper) * (1.0 + bar.taper) / 4.0;
  }
}

void applyAllBarProperties(std::vector<BarInput>& bars, const std::vector<Material>& materials,
                           const std::vector<Section>& sections) {
  for (size_t i = 1; i < bars.size(); ++i) refuse(furnishBar(bars[i], materials, sections));
}

bool isDigitSupportCode(int code) { return SupportCode(code).isDigitCode(); }

double supportValue(const Support& support, SupportField field) {
  switch (field) {
    case SupportField::dx: return support.dx;
    case SupportField::dy: return support.dy;
    case SupportField::rz: return support.rz;
    case SupportField::angle: return support.angle;
    case SupportField::kx: return support.kx;
    case SupportField::ky: return support.ky;
    case SupportField::kz: return support.kz;
  }
  return 0.0;
}

void setSupportValue(Support& support, SupportField field, double value) {
  switch (field) {
    case SupportField::dx: support.dx = value; break;
    case SupportField::dy: support.dy = value; break;
    case SupportField::rz: support.rz = value; break;
    case SupportField::angle:
      support.angleDegrees = value;
      support.angle = value * kDegreesToRadians;
      break;
    case SupportField::kx: support.kx = value; break;
    case SupportField::ky: support.ky = value; break;
    case SupportField::kz: support.kz = value; break;
  }
}

double givenSupportValue(const Support& support, SupportField field) {
  return field == SupportField::angle ? support.angleDegrees : supportValue(support, field);
}

Support ModelReader::readSupport(int position, const std::vector<Node>& nodes) {
  Support support;
  in_.read(itemName("apoyo", position), "%d  %d", &support.label, &support.code);
  if (checking_) refuse(supportNodeFault(support, nodes));
  for (SupportField field : SupportCode(support.code).fields()) {
    double value = 0.0;
    in_.read(itemName("apoyo", position, "valores"), "%lf", &value);
    setSupportValue(support, field, value);
  }
  return support;
}

Tie ModelReader::readTie(int position, const std::vector<Node>& nodes) {
  Tie tie;
  in_.read(itemName("corrimiento", position), "%d %d %d %d %lf", &tie.labelA, &tie.labelB, &tie.dirA, &tie.dirB,
           &tie.value);
  if (checking_) refuse(tieFault(tie, nodes));
  return tie;
}

NodalLoad ModelReader::readNodalLoad(int position, const std::vector<Node>& nodes) {
  NodalLoad load;
  const ScanItem item = itemName("carga en nodo", position);
  in_.read(item, "%d", &load.label);
  if (checking_) refuse(nodalLoadNodeFault(load, nodes));
  for (int d = 0; d < 3; ++d) in_.read(item, "%d  %lf", &load.code[d], &load.value[d]);
  return load;
}

void requireBars(const ModelHeader& header) { refuse(noBarsFault(header.nb)); }

void ModelReader::readBarTables(ModelData& model, int& maxw) {
  const ModelHeader& h = model.header;
  model.bars = readBars(h.nb, model.nodes, maxw);
  model.sections = readSections(h.nsec);
  model.materials = readMaterials(h.nmat, unitConstantsFor(h.unitCode).g);
  if (checking_) applyAllBarProperties(model.bars, model.materials, model.sections);
}

ModelData ModelReader::readUpToMaterials() {
  ModelData model;
  model.header = readHeader();
  if (checking_) requireBars(model.header);
  model.nodes = readNodes(model.header.nn);
  int maxw = 0;  // the band is the engine's business
  readBarTables(model, maxw);
  return model;
}

void ModelReader::readSupports(ModelData& model) {
  model.supports.assign(1, Support{});
  std::vector<bool> held(model.nodes.size(), false);
  for (int k = 1; k <= model.header.nsup; ++k) {
    model.supports.push_back(readSupport(k, model.nodes));
    if (!checking_) continue;
    const Support& support = model.supports.back();
    if (held[support.index]) refuse(duplicateSupportFault(support.label));
    held[support.index] = true;
  }
}

void ModelReader::readTiesAndNodalLoads(ModelData& model) {
  model.ties.assign(1, Tie{});
  for (int k = 1; k <= model.header.ntie; ++k) model.ties.push_back(readTie(k, model.nodes));
  model.nodalLoads.assign(1, NodalLoad{});
  for (int k = 1; k <= model.header.nload; ++k) model.nodalLoads.push_back(readNodalLoad(k, model.nodes));
}

void ModelReader::readSupportsTiesAndNodalLoads(ModelData& model) {
  readSupports(model);
  readTiesAndNodalLoads(model);
}

ModelData ModelReader::readModel() {
  ModelData model = readUpToMaterials();
  readSupportsTiesAndNodalLoads(model);
  return model;
}

}  // namespace common
