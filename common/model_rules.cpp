#include "common/model_rules.h"

#include <cmath>

#include "common/capacities.h"
#include "common/run_error.h"

namespace common {

const char* const kBarNodeError = "ERROR EN NODOS/ELEMENTO";
const char* const kNodalLoadError = "ERROR EN NODOS/CARGAS EN NODOS";

namespace {
Fault fault(std::string message, std::string reason, int field) {
  return Fault{std::move(message), std::move(reason), field};
}

std::string missingNodeReason(int label) { return formatText("no hay ning\xFAn nodo con la etiqueta %d", label); }
}  // namespace

void refuse(const Fault& fault) {
  if (fault) throw RunError(fault.message);
}

Fault titleFault(const std::string& title) {
  if (title.size() <= 23) return {};
  return fault("ERROR: EL T\xCDTULO DEL MODELO TIENE M\xC1S DE 23 CARACTERES\n",
               formatText("el t\xEDtulo tiene %zu caracteres; el m\xE1ximo es 23", title.size()), 0);
}

Fault modelFileNameFault(const std::string& name) {
  if (name.size() <= kMaxModelNameLength) return {};
  return fault(
      formatText("ERROR: EL NOMBRE DEL FICHERO DE DATOS TIENE M\xC1S DE %zu CARACTERES\n", kMaxModelNameLength),
      formatText("el nombre del fichero %s tiene %zu caracteres; calcest admite hasta %zu", name.c_str(), name.size(),
                 kMaxModelNameLength),
      -1);
}

Fault noBarsFault(int nb) {
  if (nb >= 1) return {};
  return fault("ERROR: EL MODELO NO TIENE BARRAS\n", "el modelo no tiene ninguna barra", -1);
}

Fault tooManyBarsFault(int nb) {
  if (nb <= kMaxBars) return {};
  return fault(formatText("ERROR: EL MODELO TIENE %d BARRAS; EL M\xC1XIMO ES %d\n", nb, kMaxBars),
               formatText("el modelo tiene %d barras; el m\xE1ximo es %d", nb, kMaxBars), -1);
}

Fault duplicateNodeFault(int label) {
  return fault(formatText("ERROR: DOS NODOS CON LA ETIQUETA %d\n", label),
               formatText("hay otro nodo con la etiqueta %d", label), 0);
}

Fault fractionsFault(int position, double aclx, double adlx, double ablx) {
  if (aclx == 0.0)
    return fault(formatText("ERROR dcbi=%d", position),
                 "aclx no puede ser 0: la barra no tendr\xED"
                 "a parte flexible",
                 kBarAclx);
  const double sum = aclx + adlx + ablx;
  if (sum == 1.0) return {};
  return fault(formatText("ERROR dcb\nI=%d\naclx= %lf  adlx= %lf  ablx= %lf\naclx+adlx+ablx= %lf  \n", position, aclx,
                          adlx, ablx, sum),
               formatText("aclx + adlx + ablx suma %.17g y debe sumar exactamente 1", sum), kBarAclx);
}

Fault barGeometryFault(BarInput& bar, const Node& nodeI, const Node& nodeJ) {
  bar.dx = nodeJ.x - nodeI.x;
  bar.dy = nodeJ.y - nodeI.y;
  if (bar.dx == 0.0 && bar.dy == 0.0)
    return fault(formatText("ERROR: LA BARRA %d TIENE LONGITUD NULA\n", bar.index),
                 "los dos nodos de la barra est\xE1n en el mismo punto: la barra no tiene longitud", kBarNodeJ);
  if (bar.dx == 0.0) {
    if (bar.dy < 0.0)
      return fault(
          formatText("ERROR: LA BARRA %d ES VERTICAL Y VA HACIA ABAJO: DIB\xDAJELA DE ABAJO HACIA ARRIBA\n", bar.index),
          "una barra vertical va de abajo arriba: el nodo J debe estar encima del nodo I", kBarNodeJ);
    bar.orient = kVertical;
    bar.L = std::fabs(bar.dy);
    bar.cos = 0.0;
    bar.sin = 1.0;
  } else if (bar.dy == 0.0) {
    if (bar.dx < 0.0)
      return fault(formatText("ERROR: LA BARRA %d ES HORIZONTAL Y VA DE DERECHA A IZQUIERDA: DIB\xDAJELA DE IZQUIERDA "
                              "A DERECHA\n",
                              bar.index),
                   "una barra horizontal va de izquierda a derecha: el nodo J debe estar a la derecha del nodo I",
                   kBarNodeJ);
    bar.orient = kHorizontal;
    bar.L = std::fabs(bar.dx);
    bar.cos = 1.0;
    bar.sin = 0.0;
  } else {
    bar.orient = bar.dx > 0.0 ? kInclinedRight : kInclinedLeft;
    bar.L = std::sqrt(bar.dx * bar.dx + bar.dy * bar.dy);
    bar.cos = bar.dx / bar.L;
    bar.sin = bar.dy / bar.L;
  }
  if (!std::isfinite(bar.L))
    return fault(formatText("ERROR: LA BARRA %d TIENE LONGITUD NO FINITA\n", bar.index),
                 "la longitud de la barra no es un n\xFAmero finito", kBarNodeJ);
  for (int k = 0; k < kStations; ++k) bar.xs[k] = bar.L * 0.05 * k;
  bar.xs[kStations - 1] = bar.L;
  return {};
}

Fault placeBar(BarInput& bar, const std::vector<Node>& sortedNodes) {
  bar.nodeI = findNodeIndex(sortedNodes, bar.labelI);
  bar.nodeJ = findNodeIndex(sortedNodes, bar.labelJ);
  const char* const message = kBarNodeError;
  if (bar.nodeI == 0) return fault(message, missingNodeReason(bar.labelI), kBarNodeI);
  if (bar.nodeJ == 0) return fault(message, missingNodeReason(bar.labelJ), kBarNodeJ);
  if (bar.labelI == bar.labelJ) return fault(message, "la barra empieza y acaba en el mismo nodo", kBarNodeJ);
  return barGeometryFault(bar, sortedNodes[bar.nodeI], sortedNodes[bar.nodeJ]);
}

Fault furnishBar(BarInput& bar, const std::vector<Material>& materials, const std::vector<Section>& sections) {
  const int nmat = static_cast<int>(materials.size()) - 1;
  const int nsec = static_cast<int>(sections.size()) - 1;
  if (bar.material < 1 || bar.material > nmat)
    return fault(formatText("ERROR: LA BARRA %d USA EL MATERIAL %d Y SOLO HAY %d\n", bar.index, bar.material, nmat),
                 formatText("no hay material en la posici\xF3n %d: hay %d", bar.material, nmat), kBarMaterial);
  if (bar.section < 1 || bar.section > nsec)
    return fault(formatText("ERROR: LA BARRA %d USA LA SECCI\xD3N %d Y SOLO HAY %d\n", bar.index, bar.section, nsec),
                 formatText("no hay secci\xF3n en la posici\xF3n %d: hay %d", bar.section, nsec), kBarSection);
  applyBarProperties(bar, materials[bar.material], sections[bar.section]);
  return propertyFault(bar, materials[bar.material], sections[bar.section]);
}

namespace {
// "EL MATERIAL 2 (LÍNEA 14 DEL MODELO)"; the line when the file gave one.
std::string placeOf(const char* table, int position, int line) {
  std::string text = formatText("%s %d", table, position);
  if (line > 0) text += formatText(" (L\xCDNEA %d DEL MODELO)", line);
  return text;
}
}  // namespace

Fault propertyFault(const BarInput& bar, const Material& material, const Section& section) {
  struct Property {
    bool physical;
    const char *table, *symbol, *words, *lowerWords;
    int position, line, field;
    double value;
  };
  const Property properties[] = {
      {material.E > 0, "EL MATERIAL", "E",
       "EL M\xD3"
       "DULO DE ELASTICIDAD DEBE SER MAYOR QUE 0",
       "el m\xF3"
       "dulo de elasticidad debe ser mayor que 0",
       bar.material, material.line, kBarMaterial, material.E},
      {bar.shear == 0 || !(material.G < 0), "EL MATERIAL", "G",
       "EL M\xD3"
       "DULO DE CORTANTE NO PUEDE SER NEGATIVO (LA BARRA INCLUYE LA DEFORMACI\xD3N POR CORTANTE)",
       "el m\xF3"
       "dulo de cortante no puede ser negativo",
       bar.material, material.line, kBarMaterial, material.G},
      {section.A > 0, "LA SECCI\xD3N", "A", "EL \xC1REA DEBE SER MAYOR QUE 0", "el \xE1rea debe ser mayor que 0",
       bar.section, section.line, kBarSection, section.A},
      {section.I > 0, "LA SECCI\xD3N", "I", "LA INERCIA DEBE SER MAYOR QUE 0", "la inercia debe ser mayor que 0",
       bar.section, section.line, kBarSection, section.I},
  };
  for (const Property& p : properties)
    if (!p.physical)
      return fault(formatText("ERROR: LA BARRA %d USA %s CON %s = %g: %s\n", bar.index,
                              placeOf(p.table, p.position, p.line).c_str(), p.symbol, p.value, p.words),
                   formatText("%s = %g: %s", p.symbol, p.value, p.lowerWords), p.field);
  return {};
}

Fault shearFault(const BarInput& bar) {
  if (bar.shear == 0 || bar.G * bar.A != 0.0) return {};
  return fault(formatText("ERROR: LA BARRA %d INCLUYE LA DEFORMACI\xD3N POR CORTANTE CON G\xB7"
                          "A NULO\n",
                          bar.index),
               "la deformaci\xF3n por cortante necesita G\xB7"
               "A distinto de 0",
               kBarShear);
}

Fault supportNodeFault(Support& support, const std::vector<Node>& sortedNodes) {
  support.index = findNodeIndex(sortedNodes, support.label);
  if (support.index != 0) return {};
  return fault("ERROR EN NODOS/RESTRICCIONES", missingNodeReason(support.label), 0);
}

Fault duplicateSupportFault(int label) {
  return fault(formatText("ERROR: DOS APOYOS EN EL NODO %d\n", label),
               formatText("hay otro apoyo en el nodo %d", label), 0);
}

Fault tieFault(Tie& tie, const std::vector<Node>& sortedNodes) {
  const char* const directions = "la direcci\xF3n es 1 (horizontal), 2 (vertical) o 3 (giro)";
  if (tie.dirA < 1 || tie.dirA > 3) return fault("ERROR DIRECCION dir1", directions, kTieDirA);
  if (tie.dirB < 1 || tie.dirB > 3) return fault("ERROR DIRECCION dir2", directions, kTieDirB);
  tie.nodeA = findNodeIndex(sortedNodes, tie.labelA);
  tie.nodeB = findNodeIndex(sortedNodes, tie.labelB);
  if (tie.nodeA == 0) return fault("ERROR CORRIMIENTO", missingNodeReason(tie.labelA), kTieNodeA);
  if (tie.nodeB == 0) return fault("ERROR CORRIMIENTO", missingNodeReason(tie.labelB), kTieNodeB);
  tie.dofA = 3 * tie.nodeA + tie.dirA - 3;
  tie.dofB = 3 * tie.nodeB + tie.dirB - 3;
  return {};
}

Fault nodalLoadNodeFault(NodalLoad& load, const std::vector<Node>& sortedNodes) {
  load.index = findNodeIndex(sortedNodes, load.label);
  if (load.index != 0) return {};
  return fault(kNodalLoadError, missingNodeReason(load.label), 0);
}

}  // namespace common
