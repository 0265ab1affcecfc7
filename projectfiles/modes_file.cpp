#include "projectfiles/modes_file.h"

#include "calcdin/modal_model.h"
#include "common/run_error.h"

namespace projectfiles {

using namespace common;

namespace {
const char* const kBlockWord = "AUTOVALOR";

Mode readBlock(TokenFile& in, int listing, int q, int n) {
  std::string item = formatText("el bloque %d del listado %d", q, listing);
  Mode mode;
  in.expect(kBlockWord, item);
  in.expect("indice:", item);
  mode.block = in.integer(item);
  if (mode.block != q) throw RunError(in.errorText(formatText("%s lleva el \xEDndice %d", item.c_str(), mode.block)));
  in.expect("direcci\xF3n:", item);
  mode.direction = in.integer(item);
  in.expect("valor:", item);
  mode.eigenvalue = in.real(item);
  in.expect(kBlockWord, item);
  in.expect("ciclos/seg.:", item);
  mode.frequency = in.real(item);
  in.expect("AUTOVECTORES", item);
  // The first block tells the order n: its components run to the next block.
  if (n > 0) mode.shape.reserve(static_cast<size_t>(n));
  for (int r = 0; n < 0 ? (!in.atEnd() && in.peek()->text != kBlockWord) : r < n; ++r)
    mode.shape.push_back(in.number(item));
  return mode;
}
}  // namespace

ModesFile readModesFile(TokenFile& in, int nn) {
  ModesFile out;
  if (in.atEnd()) throw RunError(in.errorText("est\xE1 vac\xEDo (calcdin no termin\xF3 su c\xE1lculo)"));
  Mode first = readBlock(in, 1, 1, -1);
  const int n = static_cast<int>(first.shape.size());
  if (n < 1 || n > 3 * nn)
    throw RunError(in.errorText(formatText("los modos tienen %d componentes y el modelo %d direcciones", n, 3 * nn)));
  out.order = n;
  out.directions.reserve(static_cast<size_t>(n));
  out.ascending.reserve(static_cast<size_t>(n));
  out.directions.push_back(first.direction);
  for (int q = 2; q <= n; ++q) out.directions.push_back(readBlock(in, 1, q, n).direction);
  for (int r = 0; r < n; ++r) {
    const int d = out.directions[r];
    if (d < 1 || d > 3 * nn || (r > 0 && d <= out.directions[r - 1]))
      throw RunError(
          in.errorText(formatText("direcci\xF3n %d fuera de orden o fuera del modelo en el bloque %d", d, r + 1)));
  }
  for (int q = 1; q <= n; ++q) out.ascending.push_back(readBlock(in, 2, q, n));
  if (!in.atEnd()) throw RunError(in.errorText(formatText("sobran datos desde la l\xEDnea %d", in.peek()->line)));
  return out;
}

void checkDirectionsFitModel(const ModesFile& modes, const std::string& fileName, const std::vector<Support>& supports,
                             int nn) {
  std::vector<int> all;
  for (int d = 1; d <= 3 * nn; ++d) all.push_back(d);
  if (modes.directions == all) return;
  for (int option : {calcdin::kOptionSupports, calcdin::kOptionAllSupports}) {
    const auto free = calcdin::eliminateSupports(supports, nn, option).freeDirections;
    if (std::vector<int>(free.begin() + 1, free.end()) == modes.directions) return;
  }
  throw RunError("ERROR EN EL FICHERO " + fileName +
                 ": sus direcciones no son las del modelo (\xBFmodos de otro proyecto?)\n");
}

std::vector<NodeMotion> modeAtNodes(const ModesFile& modes, const Mode& mode, int nn) {
  std::vector<NodeMotion> nodes(static_cast<size_t>(nn) + 1);
  for (int r = 0; r < modes.order; ++r) {
    const int d = modes.directions[r];
    NodeMotion& node = nodes[(d + 2) / 3];
    double value = mode.shape[r];
    switch (d % 3) {
      case 1: node.ux = value; break;
      case 2: node.uy = value; break;
      default: node.rot = value; break;
    }
  }
  return nodes;
}

}  // namespace projectfiles
