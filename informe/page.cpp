#include "informe/page.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "common/file_names.h"
#include "common/format.h"
#include "common/support_code.h"
#include "informe/mode_mesh.h"
#include "informe/structure.h"

namespace informe {

using namespace common;

namespace {
const char* kPageStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#222;max-width:1060px}"
    "h1{font-size:1.5em}h2{font-size:1.2em;border-bottom:1px solid #999;margin-top:1.8em}"
    "h3{font-size:1em;margin-bottom:.3em}"
    "table{border-collapse:collapse;margin:.4em 0 1em}td,th{border:1px solid #bbb;padding:2px 8px}"
    "th{background:#eee}td{text-align:right;font-family:monospace}td.texto{text-align:left;font-family:sans-serif}"
    "figure{margin:0 0 1em;overflow-x:auto}figcaption{font-size:.85em;color:#555}svg{background:#fff;border:1px solid #ddd}";

class Table {
 public:
  Table(std::ostream& out, const std::string& id, std::initializer_list<std::string> headings) : out_(out) {
    out_ << "<table id=\"" << id << "\"><tr>";
    for (const std::string& h : headings) out_ << "<th>" << escapeText(h) << "</th>";
    out_ << "</tr>\n";
  }
  ~Table() { out_ << "</table>\n"; }
  Table& row() {
    out_ << (open_ ? "</tr>\n<tr>" : "<tr>");
    open_ = true;
    return *this;
  }
  Table& text(const std::string& cp1252) {
    out_ << "<td class=\"texto\">" << escapeText(cp1252) << "</td>";
    return *this;
  }
  Table& number(int value) {
    out_ << "<td>" << value << "</td>";
    return *this;
  }
  // A value of the model, with the file it was read from.
  Table& model(const char* file, double value) {
    out_ << "<td data-fuente=\"" << file << "\">" << modelValue(value) << "</td>";
    return *this;
  }
  // A support angle: the file gives degrees, the model reader keeps radians;
  // ten digits give the degrees back without the conversion's last bits.
  Table& degrees(double radians) {
    out_ << "<td data-fuente=\"" << kFromModel << "\">" << formatText("%.10g", radians / kDegreesToRadians) << "</td>";
    return *this;
  }
  // A value of a results file, exactly as the file has it.
  Table& source(const char* file, const SourceValue& value) {
    out_ << "<td" << sourceAttributes(file, value) << ">" << escapeText(value.text) << "</td>";
    return *this;
  }
  void end() {
    if (open_) out_ << "</tr>\n";
    open_ = false;
  }

 private:
  std::ostream& out_;
  bool open_ = false;
};

const char* supportKind(int code) {
  const SupportCode support(code);
  // Springs by direction, the vertical one of a beam's kinds among them.
  if (support.isDigitCode() && support.isElastic()) return "con resortes";
  if (const char* name = supportKindName(code)) return name;
  return support.isDigitCode() ? "restricciones por direcci\xF3n" : "desplazamientos impuestos";
}

void modelSection(std::ostream& o, const ReportData& data, const UnitLabels& u) {
  const Model& m = data.model;
  {
    o << "<h3>Nodos</h3>\n";
    Table t(o, "nodos", {"Nodo", "x [" + u.length + "]", "y [" + u.length + "]"});
    for (size_t k = 1; k < m.nodes.size(); ++k)
      t.row().number(m.nodes[k].label).model(kFromModel, m.nodes[k].x).model(kFromModel, m.nodes[k].y);
    t.end();
  }
  {
    o << "<h3>Barras</h3>\n";
    Table t(o, "barras",
            {"Barra", "Nodo I", "Nodo J", "Tipo", "L [" + u.length + "]", "aclx", "adlx", "ablx", "Cartela"});
    for (size_t i = 1; i < m.bars.size(); ++i) {
      const BarInput& b = m.bars[i];
      t.row()
          .number(b.label)
          .number(b.labelI)
          .number(b.labelJ)
          .number(b.type)
          .model(kFromModel, b.L)
          .model(kFromModel, b.aclx)
          .model(kFromModel, b.adlx)
          .model(kFromModel, b.ablx)
          .model(kFromModel, b.taper);
    }
    t.end();
  }
  {
    o << "<h3>Apoyos</h3>\n";
    Table t(o, "apoyos",
            {"Nodo",
             "C\xF3"
             "digo",
             "Clase", "dx", "dy", "rz", "\xC1ngulo [grados]", "kx", "ky", "kz"});
    for (size_t k = 1; k < m.supports.size(); ++k) {
      const Support& s = m.supports[k];
      t.row()
          .number(m.nodes[s.index].label)
          .number(s.code)
          .text(supportKind(s.code))
          .model(kFromModel, s.dx)
          .model(kFromModel, s.dy)
          .model(kFromModel, s.rz)
          .degrees(s.angle)
          .model(kFromModel, s.kx)
          .model(kFromModel, s.ky)
          .model(kFromModel, s.kz);
    }
    t.end();
  }
  {
    o << "<h3>Cargas en barras</h3>\n";
    Table t(o, "cargas", {"Barra", "Tipo", "a", "c", "b", "q", "Direcci\xF3n"});
    static const char* const names[] = {"",
                                        "1 fuerza",
                                        "2 momento",
                                        "3 uniforme",
                                        "4 triangular creciente",
                                        "5 triangular decreciente",
                                        "6 temperatura"};
    for (const LoadOnBar& e : m.loads)
      t.row()
          .number(e.load.barLabel)
          .text(names[e.load.ltype])
          .model(kFromLoads, e.load.a)
          .model(kFromLoads, e.load.c)
          .model(kFromLoads, e.load.b)
          .model(kFromLoads, e.load.q)
          .text(std::string(1, e.load.dir));
    t.end();
  }
  if (m.nodalLoads.size() > 1) {
    o << "<h3>Cargas en nodos</h3>\n";
    Table t(o, "cargas-nodales", {"Nodo", "Fx", "Fy", "M"});
    for (size_t k = 1; k < m.nodalLoads.size(); ++k) {
      const NodalLoad& l = m.nodalLoads[k];
      t.row()
          .number(m.nodes[l.index].label)
          .model(kFromModel, l.value[0])
          .model(kFromModel, l.value[1])
          .model(kFromModel, l.value[2]);
    }
    t.end();
  }
}

void resultsTables(std::ostream& o, const ReportData& data, const UnitLabels& u) {
  const Model& m = data.model;
  {
    o << "<h3>Desplazamientos de los nodos</h3>\n";
    Table t(o, "desplazamientos", {"Nodo", "\xCDndice", "Flecha [" + u.deflection + "]"});
    for (size_t k = 1; k < data.res.nodes.size(); ++k)
      t.row().number(m.nodes[k].label).number(data.res.nodes[k].node).source(kFromResults, data.res.nodes[k].value);
    t.end();
  }
  {
    o << "<h3>Esfuerzos en los extremos de las barras (de izquierda a derecha)</h3>\n";
    Table t(o, "extremos",
            {"Barra", "Nodo izq.", "Nodo der.", "M izq. [" + u.moment + "]", "M der. [" + u.moment + "]",
             "V izq. [" + u.force + "]", "V der. [" + u.force + "]"});
    for (size_t i = 1; i < data.res.bars.size(); ++i) {
      const ResBar& b = data.res.bars[i];
      t.row()
          .number(m.bars[i].label)
          .number(m.nodes[b.nodeI].label)
          .number(m.nodes[b.nodeJ].label)
          .source(kFromResults, b.Mi)
          .source(kFromResults, b.Mj)
          .source(kFromResults, b.Qi)
          .source(kFromResults, b.Qj);
    }
    t.end();
  }
  {
    o << "<h3>Reacciones de apoyo</h3>\n";
    Table t(o, "reacciones",
            {"Nodo",
             "C\xF3"
             "digo",
             "Ry [" + u.force + "]", "M [" + u.moment + "]"});
    for (size_t k = 1; k < data.res.supports.size(); ++k) {
      const ResSupport& s = data.res.supports[k];
      t.row()
          .number(m.nodes[s.node].label)
          .number(m.supports[k].code)
          .source(kFromResults, s.R)
          .source(kFromResults, s.M);
    }
    t.end();
  }
  if (!data.res.tieEnds.empty()) {
    o << "<h3>Corrimientos</h3>\n";
    Table t(o, "corrimientos", {"Nodo", "Direcci\xF3n", "Fuerza"});
    for (const ResTieEnd& e : data.res.tieEnds) t.row().number(e.label).text(e.letter).source(kFromResults, e.force);
    t.end();
  }
}

// Each mode with how many bars its half-wave spans; a mode with too few is
// the model's, not the beam's, and the page says so.
void modesTable(std::ostream& o, const ReportData& data) {
  int coarse = 0;
  {
    Table t(o, "modos",
            {"Modo", "Direcci\xF3n", "Autovalor", "Frecuencia [ciclos/seg.]", "Barras por semionda", "Convergido"});
    for (const Mode& mode : data.modes->ascending) {
      const double bars = barsPerHalfWave(data.model, mode.frequency.value);
      const bool converged = bars >= kConvergedBarsPerHalfWave;
      coarse += !converged;
      t.row()
          .number(mode.block)
          .number(mode.direction)
          .source("modos", mode.eigenvalue)
          .source("modos", mode.frequency)
          .text(std::isfinite(bars) ? formatText("%.1f", bars) : "-")
          .text(converged ? "s\xED" : "NO");
    }
    t.end();
  }
  if (coarse == 0) return;
  o << "<p id=\"modos-sin-convergir\">"
    << escapeText(formatText("%d modo%s sin convergir: su semionda abarca menos de %g barras, y una barra, que se "
                             "dobla como una c\xFA"
                             "bica, da la frecuencia demasiado alta (un 11 %% con una barra por "
                             "semionda de un vano simple, un 0,4 %% con dos). Son frecuencias del modelo, no de la "
                             "viga: divida sus barras (vigas lo hace al calcular las vibraciones).",
                             coarse, coarse == 1 ? "" : "s", kConvergedBarsPerHalfWave))
    << "</p>\n";
}

void figure(std::ostream& o, const Picture& p) {
  o << "<figure>\n"
    << p.svg << "<figcaption>" << escapeText(p.heading) << " (tambi&#233;n en " << escapeText(p.fileName)
    << ")</figcaption></figure>\n";
}
}  // namespace

void writeReportPage(std::ostream& o, const ReportData& data, const std::vector<Picture>& pictures) {
  const UnitLabels u = unitLabels(data.model.header.unitCode);
  o << "<!DOCTYPE html>\n<html lang=\"es\"><head><meta charset=\"windows-1252\">\n<title>"
    << escapeText("Informe " + data.model.header.title + " (" + data.project + ")") << "</title>\n<style>" << kPageStyle
    << pictureStyle() << "</style></head>\n<body>\n<h1>" << escapeText("Informe del proyecto " + data.project)
    << "</h1>\n"
    << "<p>"
    << escapeText("Modelo " + data.model.header.title + ": " + std::to_string(data.model.bars.size() - 1) +
                  " barras, " + std::to_string(data.model.nodes.size() - 1) + " nodos, " +
                  std::to_string(data.model.supports.size() - 1) + " apoyos. Fuerzas en " + u.force +
                  ", longitudes en " + u.length + ", flechas en " + u.deflection + ". Peso propio " +
                  (data.model.header.selfWeight == 1 ? "incluido" : "no incluido") + ".")
    << "</p>\n<h2 id=\"modelo\">1. Modelo</h2>\n";
  figure(o, pictures[0]);
  modelSection(o, data, u);
  // The deflected shape is not the diagram file's: the page says why the two differ.
  const std::string res = fileOf(data.project, kResultsExt), fmc = fileOf(data.project, kDiagramExt);
  o << "<h2 id=\"resultados\">2. Resultados</h2>\n<p>"
    << escapeText("Valores tal como los escribi\xF3 calcest en " + res + " y " + fmc +
                  ". La deformada dibuja la "
                  "flecha real de cada barra, cargas entre nodos incluidas, del mismo c\xE1lculo hecho de nuevo (que "
                  "coincide con " +
                  res + "); la flecha de " + fmc +
                  " entre nodos es la c\xFA"
                  "bica de los "
                  "desplazamientos de los extremos de cada barra, sin esas cargas, y puede ser mucho menor.")
    << "</p>\n<p id=\"flecha-elastica\">"
    << escapeText(
           "Flecha el\xE1stica, secci\xF3n bruta: sin fluencia ni fisuraci\xF3n. En una viga de hormig\xF3n "
           "armado la flecha a largo plazo suele ser de 2 a 4 veces mayor; compruebe los l\xEDmites de flecha "
           "con la flecha diferida de la secci\xF3n fisurada.")
    << "</p>\n";
  for (size_t k = 1; k <= 3 && k < pictures.size(); ++k) figure(o, pictures[k]);
  resultsTables(o, data, u);
  if (data.modes) {
    o << "<h2 id=\"modos\">3. Modos de vibraci&#243;n</h2>\n<p>"
      << escapeText("De " + data.modesFileName + ", por autovalor creciente.") << "</p>\n";
    modesTable(o, data);
    for (size_t k = 4; k < pictures.size(); ++k) figure(o, pictures[k]);
  }
  if (data.design) designSection(o, *data.design, data.modes ? 4 : 3);
  o << "</body></html>\n";
}

}  // namespace informe
