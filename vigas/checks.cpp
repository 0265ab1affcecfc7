#include "vigas/checks.h"

#include <cctype>
#include <map>

#include "calcest/loads.h"
#include "common/model_rules.h"
#include "common/run_error.h"

namespace vigas {

using namespace common;

namespace {

class ErrorList {
 public:
  explicit ErrorList(std::vector<CellError>& errors) : errors_(errors) {}
  void add(Table table, int row, int column, const std::string& reason, int loadCase = 0) {
    errors_.push_back(CellError{CellPlace{table, row, column, loadCase}, reason});
  }
  // True when there was a fault (and it is listed).
  bool add(Table table, int row, const Fault& fault, int loadCase = 0) {
    if (fault) add(table, row, fault.field, fault.reason, loadCase);
    return static_cast<bool>(fault);
  }

 private:
  std::vector<CellError>& errors_;
};

void checkHeader(const ModelData& m, ErrorList& errors) {
  errors.add(Table::header, 1, titleFault(m.header.title));
  const int nb = static_cast<int>(m.bars.size()) - 1;
  // A beam not begun yet lacks its bars, as it lacks everything: no fault
  // to show (it is not saved until it has some).
  if (isEmptyModel(m)) return;
  if (!errors.add(Table::bars, 0, noBarsFault(nb))) errors.add(Table::bars, 0, tooManyBarsFault(nb));
  if (m.header.selfWeight != 0 && m.header.selfWeight != 1)
    errors.add(Table::header, 1, 3, "el peso propio es 1 (se aplica) o 0 (no se aplica)");
}

// Nodes sorted by label, as the engine numbers them; every node whose label
// another node has is at fault.
std::vector<Node> checkNodes(const ModelData& m, ErrorList& errors) {
  std::map<int, int> uses;
  for (size_t k = 1; k < m.nodes.size(); ++k) ++uses[m.nodes[k].label];
  for (size_t k = 1; k < m.nodes.size(); ++k)
    if (uses[m.nodes[k].label] > 1) errors.add(Table::nodes, static_cast<int>(k), duplicateNodeFault(m.nodes[k].label));
  std::vector<Node> sorted = m.nodes;
  sortNodesByLabel(sorted);
  return sorted;
}

// Each bar found, placed and furnished as the reader does it; a bar that is
// not is left out (index 0) of the load checks.
std::vector<BarInput> checkBars(const ModelData& m, const std::vector<Node>& sorted, ErrorList& errors) {
  std::vector<BarInput> bars = m.bars;
  for (size_t k = 1; k < bars.size(); ++k) {
    BarInput& bar = bars[k];
    const int row = static_cast<int>(k);
    bar.index = row;
    const bool faulty = errors.add(Table::bars, row, fractionsFault(row, bar.aclx, bar.adlx, bar.ablx));
    if (errors.add(Table::bars, row, placeBar(bar, sorted)) ||
        errors.add(Table::bars, row, furnishBar(bar, m.materials, m.sections)) ||
        errors.add(Table::bars, row, shearFault(bar)) || faulty)
      bar.index = 0;
  }
  return bars;
}

// The editor's own: the engine would take them and find the beam singular or
// meaningless.
void checkBarValues(const ModelData& m, ErrorList& errors) {
  for (size_t k = 1; k < m.bars.size(); ++k) {
    const BarInput& bar = m.bars[k];
    const int row = static_cast<int>(k);
    if (bar.type < 0 || bar.type > 8) errors.add(Table::bars, row, kBarType, "el tipo de barra va de 0 a 8");
    if (bar.aclx < 0) errors.add(Table::bars, row, kBarAclx, "aclx no puede ser negativo");
    if (bar.adlx < 0) errors.add(Table::bars, row, kBarAdlx, "la zona r\xEDgida en I no puede ser negativa");
    if (bar.ablx < 0) errors.add(Table::bars, row, kBarAblx, "la zona r\xEDgida en J no puede ser negativa");
    if (bar.shear != 0 && bar.shear != 1)
      errors.add(Table::bars, row, kBarShear, "el cortante es 1 (con su deformaci\xF3n) o 0 (sin ella)");
    if (!(bar.taper > 0))
      errors.add(Table::bars, row, kBarTaper,
                 "la cartela es la raz\xF3n entre los cantos final e inicial: mayor que 0");
  }
}

void checkSectionsAndMaterials(const ModelData& m, ErrorList& errors) {
  for (size_t k = 1; k < m.sections.size(); ++k) {
    const Section& s = m.sections[k];
    const int row = static_cast<int>(k);
    if (!(s.A > 0)) errors.add(Table::sections, row, 1, "el \xE1rea debe ser mayor que 0");
    if (!(s.I > 0)) errors.add(Table::sections, row, 2, "la inercia debe ser mayor que 0");
    if (s.b < 0) errors.add(Table::sections, row, 3, "el ancho no puede ser negativo");
    if (s.h < 0) errors.add(Table::sections, row, 4, "el canto no puede ser negativo");
  }
  for (size_t k = 1; k < m.materials.size(); ++k) {
    const Material& mat = m.materials[k];
    const int row = static_cast<int>(k);
    if (!(mat.E > 0))
      errors.add(Table::materials, row, 1,
                 "el m\xF3"
                 "dulo de elasticidad debe ser mayor que 0");
    if (mat.G < 0)
      errors.add(Table::materials, row, 2,
                 "el m\xF3"
                 "dulo de cortante no puede ser negativo");
  }
}

void checkNodeReferences(const ModelData& m, const std::vector<Node>& sorted, ErrorList& errors) {
  std::map<int, int> supportsOn;
  for (size_t k = 1; k < m.supports.size(); ++k) ++supportsOn[m.supports[k].label];
  for (size_t k = 1; k < m.supports.size(); ++k) {
    Support support = m.supports[k];
    if (!errors.add(Table::supports, static_cast<int>(k), supportNodeFault(support, sorted)) &&
        supportsOn[support.label] > 1)
      errors.add(Table::supports, static_cast<int>(k), duplicateSupportFault(support.label));
  }
  for (size_t k = 1; k < m.ties.size(); ++k) {
    Tie tie = m.ties[k];
    errors.add(Table::ties, static_cast<int>(k), tieFault(tie, sorted));
  }
  for (size_t k = 1; k < m.nodalLoads.size(); ++k) {
    NodalLoad load = m.nodalLoads[k];
    errors.add(Table::nodalLoads, static_cast<int>(k), nodalLoadNodeFault(load, sorted));
  }
}

void checkLoads(const Content& content, const std::vector<BarInput>& bars, ErrorList& errors) {
  // The engine takes the first bar with the label.
  std::map<int, size_t> barOfLabel;
  for (size_t k = bars.size(); k-- > 1;) barOfLabel[bars[k].label] = k;
  for (size_t c = 0; c < content.cases.size(); ++c) {
    const LoadCase& loadCase = content.cases[c];
    const int caseIndex = static_cast<int>(c);
    const std::string nameFault = caseNameFault(content, loadCase.name, caseIndex);
    if (!nameFault.empty()) errors.add(Table::loads, 0, -1, nameFault, caseIndex);
    for (size_t k = 0; k < loadCase.loads.size(); ++k) {
      const BarLoad& load = loadCase.loads[k];
      const int line = static_cast<int>(k) + 1;
      const auto found = barOfLabel.find(load.barLabel);
      if (found == barOfLabel.end()) {
        errors.add(Table::loads, line, calcest::unknownBarFault(load, line, loadCase.name), caseIndex);
        continue;
      }
      const BarInput& bar = bars[found->second];
      if (bar.index == 0) continue;  // its own fault is listed with the bar
      errors.add(Table::loads, line, calcest::loadFault(bar, load, line, loadCase.name), caseIndex);
    }
  }
}

}  // namespace

std::string caseNameFault(const Content& content, const std::string& name, int loadCase) {
  if (name.empty() || name.size() > 20) return "el nombre del caso tiene de 1 a 20 caracteres";
  for (unsigned char c : name)
    if (!std::isalnum(c) && c != '-' && c != '_')
      return "el nombre del caso lleva solo letras sin acento, cifras, - y _: da nombre a sus ficheros";
  for (int k = 0; k < loadCase && k < static_cast<int>(content.cases.size()); ++k)
    if (content.cases[static_cast<size_t>(k)].name == name) return "ya hay otro caso con ese nombre";
  return "";
}

bool isEmptyModel(const ModelData& m) {
  return m.nodes.size() <= 1 && m.bars.size() <= 1 && m.supports.size() <= 1 && m.ties.size() <= 1 &&
         m.nodalLoads.size() <= 1;
}

std::vector<CellError> checkContent(const Content& content) {
  std::vector<CellError> list;
  ErrorList errors(list);
  const ModelData& m = content.model;
  checkHeader(m, errors);
  const std::vector<Node> sorted = checkNodes(m, errors);
  const std::vector<BarInput> bars = checkBars(m, sorted, errors);
  checkBarValues(m, errors);
  checkSectionsAndMaterials(m, errors);
  checkNodeReferences(m, sorted, errors);
  checkLoads(content, bars, errors);
  return list;
}

std::string reasonAt(const std::vector<CellError>& errors, const CellPlace& place) {
  for (const CellError& error : errors) {
    const CellPlace& at = error.place;
    if (at.table != place.table || at.row != place.row) continue;
    if (perCase(at.table) && at.loadCase != place.loadCase) continue;
    if (at.column == place.column || at.column < 0) return error.reason;
  }
  return "";
}

}  // namespace vigas
