#pragma once
// The model file shared by the calculation programs: title line, counts, nodes
// (sorted by label), bars with their checks and geometry, sections, materials and
// supports. Every table is indexed from 1; slot 0 is never used.
#include <string>
#include <vector>

#include "common/scan.h"
#include "common/support_code.h"

namespace common {

struct ModelHeader {
  std::string title;
  int echoed = 0;    // second item of the title line, only echoed
  int unitCode = 0;  // third item: chooses gravity and print scale
  int nb = 0, nn = 0, nsup = 0, nload = 0, nmat = 0, nsec = 0, unusedCount = 0, ntie = 0;
  int selfWeight = 0;
  double extra = 0.0;  // the real number after the counts, read and discarded
};

struct UnitConstants {
  double g;      // turns specific weight into mass density
  double scale;  // multiplies printed deflections
};
UnitConstants unitConstantsFor(int unitCode);

struct Node {
  int label = 0;
  int index = 0;  // position after sorting by label
  double x = 0.0, y = 0.0;
  double ux = 0.0, uy = 0.0, rot = 0.0;  // solved displacements
};

struct Material {
  double E = 0, G = 0, gamma = 0, rho = 0, alpha = 0;
  int id = 0;
  int line = 0;  // of the model file that gives it (0: not read from a file)
};

struct Section {
  double A = 0, I = 0, b = 0, h = 0;
  int id = 0;
  int line = 0;  // of the model file that gives it (0: not read from a file)
};

enum Orient { kVertical = 1, kHorizontal = 2, kInclinedRight = 3, kInclinedLeft = 4 };

constexpr int kStations = 21;  // stations k*L/20, k = 0..20

// The part of a bar that the model file gives or that follows from it.
struct BarInput {
  int index = 0, label = 0;
  int labelI = 0, labelJ = 0, nodeI = 0, nodeJ = 0;
  int material = 0, section = 0;
  int type = 0, type7 = 0;
  double aclx = 0, adlx = 0, ablx = 0;
  int shear = 0;
  double taper = 1.0;
  double dx = 0, dy = 0, L = 0, cos = 0, sin = 0;
  int orient = 0;
  double E = 0, G = 0, A = 0, I = 0, b = 0, h = 0, alpha = 0, w = 0, m = 0;
  double xs[kStations] = {};
};

struct Support {
  int label = 0, index = 0, code = 0;
  double dx = 0, dy = 0, rz = 0, angle = 0;  // prescribed values, angle in radians
  double angleDegrees = 0;                   // the angle as the file gives it
  double kx = 0, ky = 0, kz = 0;             // spring constants
};

// A tie: the relative displacement of two freedoms is prescribed.
struct Tie {
  int labelA = 0, labelB = 0, dirA = 0, dirB = 0, nodeA = 0, nodeB = 0;
  double value = 0.0;  // prescribed relative displacement u(B) - u(A)
  int dofA = 0, dofB = 0;
  double FA = 0.0, FB = 0.0;
};

// A force and moment on a node.
struct NodalLoad {
  int label = 0;  // the node's label, as given
  int index = 0;
  int code[3] = {0, 0, 0};  // carried along; only the values act
  double value[3] = {0, 0, 0};
};

// The whole model file, read and checked: every table 1-based, bars with
// their geometry and the properties of their section and material applied.
// Read as typed (ModelReader::Checks::none), it holds the file's values only:
// nodes in file order, nothing found or computed.
struct ModelData {
  ModelHeader header;
  std::vector<Node> nodes;  // sorted by label
  std::vector<BarInput> bars;
  std::vector<Section> sections;  // as read: a bar names them by position
  std::vector<Material> materials;
  std::vector<Support> supports;
  std::vector<Tie> ties;
  std::vector<NodalLoad> nodalLoads;
};

constexpr double kDegreesToRadians = 0.017453292522222223;

// The one reader of the model file. Programs that must do work between its
// parts (calcest reads its loads file before the supports) read it in stages:
// readHeader, readNodes and readBarTables, or readUpToMaterials; then
// readSupports and readTiesAndNodalLoads. readModel reads it whole.
class ModelReader {
 public:
  // `engine`: every rule of common/model_rules.h stops the reading with its
  // message. `none`: the file's layout only, its values as typed (the editor
  // opens a model the engines refuse and shows its faults); counts that are
  // negative or cannot fit in the file are still refused.
  enum class Checks { engine, none };
  explicit ModelReader(Scanner& scanner, Checks checks = Checks::engine)
      : in_(scanner), checking_(checks == Checks::engine) {}

  // Title line, counts line and the real that follows. Rejects a title over 23
  // characters, negative counts, and counts the file cannot possibly hold.
  ModelHeader readHeader();

  // Reads nn nodes and sorts them by label; index = position. Duplicate labels
  // are rejected.
  std::vector<Node> readNodes(int nn);

  // Reads nb bars (two lines each) with their checks, geometry and stations, and
  // raises maxw to the widest band any bar needs.
  std::vector<BarInput> readBars(int nb, const std::vector<Node>& nodes, int& maxw);

  std::vector<Section> readSections(int nsec);
  std::vector<Material> readMaterials(int nmat, double g);

  // Bars, sections and materials of a model whose header and nodes are read;
  // each bar gets the properties of its section and material (positions checked).
  void readBarTables(ModelData& model, int& maxw);

  // Everything before the supports: header, a check that there are bars,
  // nodes and bar tables.
  ModelData readUpToMaterials();

  // One support with the number of values its code carries.
  Support readSupport(int position, const std::vector<Node>& nodes);
  // One tie; both nodes must exist and both directions be 1..3.
  Tie readTie(int position, const std::vector<Node>& nodes);
  // One nodal load on an existing node.
  NodalLoad readNodalLoad(int position, const std::vector<Node>& nodes);

  // The parts after the materials, into a model read up to them.
  void readSupports(ModelData& model);
  void readTiesAndNodalLoads(ModelData& model);
  void readSupportsTiesAndNodalLoads(ModelData& model);

  // The whole file, in its order, with every check above.
  ModelData readModel();

  Scanner& scanner() { return in_; }

 private:
  Scanner& in_;
  bool checking_;
};

// Refuses a model whose header counts no bar.
void requireBars(const ModelHeader& header);

// Sorts nodes (slots 1..n) by label with the program's quicksort and numbers them.
void sortNodesByLabel(std::vector<Node>& nodes);

// Index of the node with this label in the sorted table, or 0 when none has it.
int findNodeIndex(const std::vector<Node>& nodes, int label);

// Puts a value read after a support code into its field (an angle given in
// degrees is kept so, and in radians for the engine).
void setSupportValue(Support& support, SupportField field, double value);

// The value a support holds in one of its fields as the file gives it.
double givenSupportValue(const Support& support, SupportField field);

// Geometry and stations of a bar from its two nodes; throws for a bar of zero
// length or a horizontal (vertical) bar drawn right to left (downward).
void computeBarGeometry(BarInput& bar, const Node& nodeI, const Node& nodeJ);

// Copies section and material properties into the bar and applies the haunch rule.
void applyBarProperties(BarInput& bar, const Material& material, const Section& section);

// Checks every bar's material and section positions and applies the properties.
void applyAllBarProperties(std::vector<BarInput>& bars, const std::vector<Material>& materials,
                           const std::vector<Section>& sections);

// The value a support holds in one of its fields.
double supportValue(const Support& support, SupportField field);

// True for the support codes that act digit by digit (SupportCode::isDigitCode).
bool isDigitSupportCode(int code);

}  // namespace common
