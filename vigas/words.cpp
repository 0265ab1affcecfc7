#include "vigas/words.h"

#include "common/support_code.h"
#include "vigas/builder.h"

namespace vigas {

using namespace common;

std::string barTypeWords(int type) {
  switch (type) {
    case 0: return "sin rigidez (solo sus diagramas)";
    case 1: return "r\xEDgida en los dos extremos";
    case 2: return "r\xF3tula en I";
    case 3: return "r\xF3tula en J";
    case 4: return "r\xF3tulas en I y J";
    case 5: return "voladizo sujeto en J";
    case 6: return "voladizo sujeto en I";
    case 7: return "liberaci\xF3n de cortante en I";
    case 8: return "liberaci\xF3n de cortante en J";
    default: return "tipo desconocido (sin rigidez)";
  }
}

namespace {
const char* restraintWords(Restraint r) {
  return r == Restraint::rigid ? "fijo" : r == Restraint::spring ? "muelle" : "libre";
}
}  // namespace

std::string supportCodeWords(int code) {
  // The kinds a continuous beam is built with go by their names.
  for (SupportKind kind : {SupportKind::pinned, SupportKind::roller, SupportKind::fixed, SupportKind::spring})
    if (supportCodeOf(kind) == code) return supportKindName(code);
  const SupportCode support(code);
  const std::string rotation = restraintWords(support.along(Direction::rotation));
  if (support.isInclined())
    return std::string("inclinado ") + (support.inclined() == Restraint::rigid ? "fijo" : "muelle") + ", giro " +
           rotation;
  const std::string words = std::string("horizontal ") + restraintWords(support.along(Direction::horizontal)) +
                            ", vertical " + restraintWords(support.along(Direction::vertical)) + ", giro " + rotation;
  return support.isDigitCode() ? words
                               : "act\xFA"
                                 "a como 110: " +
                                     words;
}

std::string loadTypeWords(int ltype) {
  switch (ltype) {
    case 1: return "fuerza puntual";
    case 2: return "momento puntual";
    case 3: return "carga uniforme";
    case 4: return "carga triangular creciente";
    case 5: return "carga triangular decreciente";
    case 6: return "temperatura";
    default: return "tipo desconocido";
  }
}

std::string unitSystemWords(int unitCode) {
  switch (unitCode) {
    case 0: return "toneladas y metros";
    case 1: return "kilonewtons y metros";
    case 2: return "kips y pies";
    case 3:
    case 4: return "fuerzas y cent\xEDmetros";
    default:
      return "c\xF3"
             "digo desconocido (como toneladas y metros)";
  }
}

std::string directionWords(char dir) {
  if (dir == 'y' || dir == 'Y') return "vertical";
  if (dir == 'x' || dir == 'X') return "horizontal";
  return "direcci\xF3n desconocida";
}

}  // namespace vigas
