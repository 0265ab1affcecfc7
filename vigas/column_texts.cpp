// What each column of the editor's tables holds, for its heading: its unit
// in the model's unit system, and its codes and signs for the tooltip.
#include "common/model_rules.h"
#include "projectfiles/model_input.h"
#include "vigas/cells.h"
#include "vigas/span_cells.h"

namespace vigas {

namespace {

enum class Measure {
  none,
  length,
  area,
  inertia,
  stress,
  weight,
  perDegree,
  force,
  moment,
  forcePerLength,
  rotation,
  degrees,
  momentPerRadian
};

Measure measureOf(Table table, int column) {
  using M = Measure;
  switch (table) {
    case Table::nodes: return column > 0 ? M::length : M::none;
    case Table::sections: {
      const Measure m[] = {M::none, M::area, M::inertia, M::length, M::length, M::length, M::length};
      return m[column];
    }
    case Table::materials: {
      const Measure m[] = {M::none, M::stress, M::stress, M::weight, M::perDegree, M::none};
      return m[column];
    }
    case Table::supports: {
      const Measure m[] = {M::none,    M::none,           M::length,         M::length,         M::rotation,
                           M::degrees, M::forcePerLength, M::forcePerLength, M::momentPerRadian};
      return m[column];
    }
    case Table::nodalLoads: return column == 2 || column == 4 ? M::force : column == 6 ? M::moment : M::none;
    case Table::loads: return column >= 2 && column <= 4 ? M::length : M::none;
    case Table::spans: return column == kSpanLength ? M::length : M::none;
    case Table::spanLoads: return column == kLoadX1 || column == kLoadX2 ? M::length : M::none;
    default: return M::none;
  }
}

}  // namespace

std::string columnUnit(Table table, int column, int unitCode) {
  const projectfiles::UnitLabels u = projectfiles::unitLabels(unitCode);
  const std::string& L = u.length;
  switch (measureOf(table, column)) {
    case Measure::length: return L;
    case Measure::area: return L + "\xB2";
    case Measure::inertia: return L + "^4";
    case Measure::stress: return u.force + "/" + L + "\xB2";
    case Measure::weight: return u.force + "/" + L + "\xB3";
    case Measure::perDegree: return "1/\xB0";
    case Measure::force: return u.force;
    case Measure::moment: return u.moment;
    case Measure::forcePerLength: return u.force + "/" + L;
    case Measure::rotation: return "rad";
    case Measure::degrees: return "\xB0";
    case Measure::momentPerRadian: return u.moment + "/rad";
    case Measure::none: break;
  }
  return "";
}

bool hiddenColumn(Table table, int column) {
  // The title line's echoed number, the unused count and real, a bar's
  // seventh integer: carried along unchanged, used by no program.
  return (table == Table::header && (column == 1 || column == 4 || column == 5)) ||
         (table == Table::bars && column == common::kBarCarried);
}

std::string columnTip(Table table, int column) {
  struct Tip {
    Table table;
    int column;
    const char* text;
  };
  static const Tip tips[] = {
      {Table::header, 2, "0 toneladas y metros, 1 kilonewtons y metros, 2 kips y pies, 3 y 4 fuerzas y cent\xEDmetros"},
      {Table::header, 3,
       "1: el peso propio (peso espec\xED"
       "fico \xB7 \xE1rea) act\xFA"
       "a en el primer caso; 0: no"},
      {Table::bars, 3, "posici\xF3n en la tabla Materiales (1, 2, ...)"},
      {Table::bars, 4, "posici\xF3n en la tabla Secciones (1, 2, ...)"},
      {Table::bars, 5,
       "1 r\xEDgida; 2 r\xF3tula en I; 3 r\xF3tula en J; 4 r\xF3tulas en I y J; 5 voladizo sujeto en J; "
       "6 voladizo sujeto en I; 7 y 8 liberaci\xF3n de cortante en I o J; 0 sin rigidez"},
      {Table::bars, 7, "aclx: fracci\xF3n de la barra que se deforma (1 sin zonas r\xEDgidas); aclx + adlx + ablx = 1"},
      {Table::bars, 8, "adlx: fracci\xF3n r\xEDgida junto al nudo I"},
      {Table::bars, 9, "ablx: fracci\xF3n r\xEDgida junto al nudo J"},
      {Table::bars, 10, "1: con deformaci\xF3n por cortante; 0: sin ella"},
      {Table::bars, 11, "cartela: canto final / canto inicial (1 sin cartela)"},
      {Table::sections, 3, "ancho b (del alma en una T): con h, A e I se calculan solos"},
      {Table::sections, 4, "canto total h"},
      {Table::sections, 5, "ancho del ala de una T (en blanco: rect\xE1ngulo b \xD7 h)"},
      {Table::sections, 6, "canto del ala de una T"},
      {Table::materials, 5,
       "HA-25 a HA-50, S235, S275 o S355: escribe E, G, peso espec\xED"
       "fico y alfa"},
      {Table::supports, 1,
       "centenas: horizontal, decenas: vertical, unidades: giro; 0 libre, 1 fijo, 2 muelle "
       "(110 articulado, 10 deslizante, 111 empotrado, 20 muelle vertical); "
       "acabado en 4: inclinado"},
      {Table::nodalLoads, 2, "fuerza horizontal, positiva hacia la derecha"},
      {Table::nodalLoads, 4, "fuerza vertical, positiva hacia arriba"},
      {Table::nodalLoads, 6, "momento, positivo antihorario"},
      {Table::loads, 1,
       "1 fuerza puntual, 2 momento puntual (horario +), 3 uniforme, 4 triangular creciente, "
       "5 triangular decreciente, 6 temperatura"},
      {Table::loads, 2, "a: desde el nudo I hasta la carga"},
      {Table::loads, 3, "c: longitud cargada (fuerza o momento: desde la carga hasta el nudo J)"},
      {Table::loads, 4, "b: desde el final de la carga hasta el nudo J"},
      {Table::loads, 5,
       "fuerza o intensidad (negativa hacia abajo en y), momento (horario +), "
       "diferencia de temperatura"},
      {Table::spans, kSpanLength, "luz entre apoyos; voladizo: desde su apoyo hasta la punta (0: no hay)"},
      {Table::spans, kSpanBars, "barras iguales del tramo como m\xEDnimo; se corta adem\xE1s en cada carga"},
      {Table::spans, kSpanSection, "posici\xF3n en la tabla Secciones"},
      {Table::spans, kSpanMaterial, "posici\xF3n en la tabla Materiales"},
      {Table::spans, kSpanLeft,
       "articulado, deslizante, empotrado, muelle RIGIDEZ (vertical) o un c\xF3"
       "digo de apoyo"},
      {Table::spans, kSpanRight,
       "articulado, deslizante, empotrado, muelle RIGIDEZ (vertical) o un c\xF3"
       "digo de apoyo"},
      {Table::spanLoads, kOnPiece,
       "1 a n: un vano (x desde su apoyo izquierdo; la carga se mueve con \xE9l si cambia "
       "su luz); vi, vd: voladizos; viga: x desde el inicio de la viga"},
      {Table::spanLoads, kLoadKind,
       "puntual, momento, repartida (uniforme, triangular o trapecial de x1 a x2) o "
       "temperatura"},
      {Table::spanLoads, kLoadX1,
       "donde act\xFA"
       "a la carga puntual, o donde empieza la repartida"},
      {Table::spanLoads, kLoadX2, "donde acaba la carga repartida"},
      {Table::spanLoads, kLoadQ1,
       "fuerza o intensidad en x1 (negativa hacia abajo), momento (antihorario +), "
       "diferencia de temperatura"},
      {Table::spanLoads, kLoadQ2, "intensidad en x2 (igual que q1: uniforme)"},
      {Table::spanLoads, kLoadDir, "y vertical, x a lo largo de la viga"},
  };
  for (const Tip& tip : tips)
    if (tip.table == table && tip.column == column) return tip.text;
  return "";
}

}  // namespace vigas
