#include "informe/design.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "common/file_names.h"
#include "common/format.h"
#include "common/run_error.h"
#include "common/support_code.h"
#include "common/whole_file.h"
#include "informe/structure.h"

namespace informe {

using common::formatText;
using common::RunError;

namespace {

// Metres per length unit of the models armado designs.
double metresOf(const projectfiles::Model& model) {
  return model.header.unitCode == 2 ? 0.3048 : model.header.unitCode <= 1 ? 1.0 : 0.0;
}

// The stations armado designs at, in m: the twentieths of each bar.
std::vector<double> stationsOf(const projectfiles::Model& model) {
  const double metres = metresOf(model);
  std::vector<double> x;
  for (int k = 1; k <= model.header.nb; ++k) {
    const common::BarInput& bar = model.bars[k];
    for (int s = k == 1 ? 0 : 1; s < common::kStations; ++s)
      x.push_back((model.nodes[bar.nodeI].x - model.nodes[1].x + bar.xs[s]) * metres);
  }
  return x;
}

// The <svg> element of a drawing armado wrote, without its XML declaration.
std::string drawingElement(const std::string& text, const std::string& path) {
  const size_t start = text.find("<svg ");
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (text.rfind("<?xml", 0) != 0 || start == std::string::npos || lower.find("<script") != std::string::npos ||
      text.size() < 7 || text.compare(text.size() - 7, 7, "</svg>\n") != 0)
    throw RunError("ERROR EN EL FICHERO " + path + ": NO ES UN DIBUJO DEL ARMADO\n");
  return text.substr(start);
}

std::string cell(double value, int decimals) { return "<td>" + formatText("%.*f", decimals, value) + "</td>"; }

}  // namespace

std::optional<DesignFiles> readDesign(const std::string& project, const projectfiles::Model& model) {
  DesignFiles d;
  d.table = common::fileOf(project, common::kDesignTableExt);
  d.schedule = common::fileOf(project, common::kBarScheduleExt);
  d.picture = common::fileOf(project, common::kDesignPictureSuffix);
  std::error_code error;
  if (!std::filesystem::exists(d.table, error)) return std::nullopt;
  const common::DesignTable table = common::readDesignTable(common::readWholeFile(d.table), d.table);
  d.rows = table.rows;
  d.serviceability = table.serviceability;
  const std::vector<double> x = stationsOf(model);
  bool same = d.rows.size() == x.size();
  for (size_t k = 0; same && k < x.size(); ++k) same = std::fabs(d.rows[k][common::kDesignX] - x[k]) < 6e-4;
  if (!same)
    throw RunError(formatText("ERROR: EL FICHERO %s NO ES DEL MODELO %s: VUELVA A EJECUTAR armado\n", d.table.c_str(),
                              common::fileOf(project, common::kModelExt).c_str()));
  for (size_t k = 1; k < model.supports.size(); ++k)
    if (common::SupportCode(model.supports[k].code).holdsBeamUp())
      d.supports.push_back((model.nodes[model.supports[k].index].x - model.nodes[1].x) * metresOf(model));
  std::sort(d.supports.begin(), d.supports.end());
  d.scheduleText = common::readWholeFile(d.schedule);
  d.svg = drawingElement(common::readWholeFile(d.picture), d.picture);
  return d;
}

ServiceCurves serviceCurvesOf(const DesignFiles& d) {
  ServiceCurves c;
  for (const common::DesignRow& row : d.rows) {
    c.x.push_back(row[common::kDesignX]);
    c.curvature.push_back(row[common::kDesignCurvature]);
    c.elastic.push_back(row[common::kDesignElasticDeflection]);
    c.longTerm.push_back(row[common::kDesignLongTermDeflection]);
  }
  c.supports = d.supports;
  return c;
}

void designSection(std::ostream& o, const DesignFiles& d, int number) {
  o << "<h2 id=\"armado\">" << number << ". Armado</h2>\n<p>"
    << escapeText("Dise\xF1o de armado de " + d.table + ", " + d.schedule + " y " + d.picture +
                  " (armado). Momentos en kN\xB7m, cortantes en kN, \xE1reas en cm2, Asw/s en cm2/m, x en m" +
                  (d.serviceability ? "; tensiones en MPa, wk y flechas en mm, 1/r en 1/km." : "."))
    << "</p>\n<figure>\n"
    << d.svg << "<figcaption>Armado (tambi&#233;n en " << escapeText(d.picture) << ")</figcaption></figure>\n";
  if (d.serviceability) {
    SvgPicture curves("armado-flechas", kServiceCurvesWidth, kServiceCurvesHeight);
    drawServiceCurves(curves, serviceCurvesOf(d));
    o << "<figure>\n"
      << curves.document(false) << "<figcaption>"
      << escapeText("En servicio: curvatura diferida y flechas el\xE1stica y diferida (de " + d.table + ")")
      << "</figcaption></figure>\n";
  }
  o << "<h3>Despiece</h3>\n<pre>" << escapeText(d.scheduleText) << "</pre>\n<h3>" << escapeText("Secciones")
    << "</h3>\n<table id=\"armado-secciones\"><tr>";
  for (const char* h : {"x", "MEd,max", "MEd,min", "As,i nec.", "As,s nec.", "As,i", "As,s", "MRd+", "MRd-", "VEd",
                        "Asw/s nec.", "Asw/s", "VRd", "cot"})
    o << "<th>" << escapeText(h) << "</th>";
  const int columns = d.serviceability ? common::kDesignColumnCount : common::kDesignStrengthColumns;
  for (int c = common::kDesignStrengthColumns; c < columns; ++c)
    o << "<th>" << escapeText(common::designColumnName(c)) << "</th>";
  o << "</tr>\n";
  for (const common::DesignRow& row : d.rows) {
    o << "<tr>" << cell(row[0], 3);
    for (int c = 1; c < columns; ++c) o << cell(row[c], std::max(2, common::designColumnDecimals(c)));
    o << "</tr>\n";
  }
  o << "</table>\n";
}

}  // namespace informe
