#include "envolventes/engine/result_files.h"

#include <cstring>

#include "common/file_names.h"
#include "common/format.h"
#include "envolventes/engine/line_reader.h"
#include "envolventes/engine/project_reader.h"

namespace envelope {

using namespace common;
namespace {

void combineStrict(float v, ForceColumn& c) {
  if (v > 0 && v > c.max) c.max = v;
  if (v < 0 && v < c.min) c.min = v;
}

void writeHalf(TextBuffer& out, const char* header, const std::vector<ForceTableRow>& table, int n, bool shear) {
  out.append(header, std::strlen(header));
  for (int i = 0; i <= n; ++i) {
    const ForceTableRow& r = table[i];
    const ForceColumn& a = shear ? r.Qi : r.Mfi;
    const ForceColumn& b = shear ? r.Qd : r.Mfd;
    const ForceColumn& c = shear ? r.CC : r.Mf;
    appendFormat(out, " %f   %f//%f   ////  %f//%f  ////  %f//%f\n", r.x, a.max, b.max, a.min, b.min, c.max, c.min);
  }
}

template <size_t N>
void appendText(TextBuffer& out, const char (&literal)[N]) {
  out.append(literal, N - 1);
}

}  // namespace

void readForceTableRows(TextLines& esf, int n, ProjectForceTable& out) {
  // Each row is written once, as it is read.
  out.table.clear();
  out.table.reserve(static_cast<size_t>(n) + 1);
  out.rows = ProjectForceTable::Rows::Complete;
  int got = 0;
  std::string_view line;
  while (esf.next(line)) {
    if (isBlank(line)) continue;
    if (got > n) {
      out.rows = ProjectForceTable::Rows::TooMany;
      return;
    }
    float v[6] = {0, 0, 0, 0, 0, 0};
    ForceTableRow row;
    if (scanLine(line, "%d %f %f %f %f %f %f %f", &row.index, &row.x, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) != 8)
      break;
    row.Qi.max = v[0], row.Qd.max = v[1], row.Mfi.max = v[2], row.Mfd.max = v[3], row.CC.max = v[4], row.Mf.max = v[5];
    out.table.push_back(row);
    ++got;
  }
  if (got != n + 1) out.rows = ProjectForceTable::Rows::CutShort;
}

void ForceTableEnvelope::add(const ProjectTables& project, const std::string& path) {
  if (stop_ != Stop::None) return;
  const int n = project.forceTableLastIndex;
  if (!any_) {
    any_ = true;
    count_ = n;
    table_.assign(static_cast<size_t>(n) + 10, ForceTableRow{});
  }
  const ProjectForceTable& own = project.forceTable;
  if (n != count_ || own.rows == ProjectForceTable::Rows::TooMany) {
    stop_ = Stop::OtherCount;
    return;
  }
  if (own.rows == ProjectForceTable::Rows::CutShort) {
    stop_ = Stop::CutShort;
    cutPath_ = path;
    return;
  }
  for (int i = 0; i <= n; ++i) {
    ForceTableRow& t = table_[i];
    const ForceTableRow& r = own.table[i];
    t.index = r.index;
    t.x = r.x;
    combineStrict(r.Qi.max, t.Qi);
    combineStrict(r.Qd.max, t.Qd);
    combineStrict(r.Mfi.max, t.Mfi);
    combineStrict(r.Mfd.max, t.Mfd);
    combineStrict(r.CC.max, t.CC);
    combineStrict(r.Mf.max, t.Mf);
  }
}

ForceTableStep ForceTableEnvelope::write(int n, FILE* out, MessageSink& sink) const {
  // Tables combine for the count of the first; any other n stops the combining
  // at the first table, before it adds anything.
  if (!any_ || count_ != n) {
    if (any_) sink.showMessage(kForcePointsError);
    writeForceTableRows(std::vector<ForceTableRow>(static_cast<size_t>(n) + 10), n, out);
    return ForceTableStep::Written;
  }
  if (stop_ == Stop::CutShort) {
    sink.showMessage(incompleteFileText(cutPath_));
    return ForceTableStep::Stopped;
  }
  if (stop_ == Stop::OtherCount) sink.showMessage(kForcePointsError);
  writeForceTableRows(table_, n, out);
  return ForceTableStep::Written;
}

void writeForceTableRows(const std::vector<ForceTableRow>& table, int n, FILE* out) {
  TextBuffer text;
  text.reserve((static_cast<size_t>(n) + 2) * 2 * 100);  // room for rows of numbers of a few digits
  writeHalf(text, " Coordenada[m]  Qi(m\xE1x)//Qd(m\xE1x)   /////   Qi(m\xEDn)//Qd(m\xEDn)    CC(m\xE1x)//CC(m\xEDn)\n",
            table, n, true);
  writeHalf(text,
            " Coordenada[m]  Mfi(m\xE1x)//Mfd(m\xE1x)   /////   Mfi(m\xEDn)//Mfd(m\xEDn)    Mf(m\xE1x)//Mf(m\xEDn)\n",
            table, n, false);
  std::fwrite(text.data(), 1, text.size(), out);
}

void writeReport(const EnvelopeState& s, FILE* file) {
  TextBuffer out;
  const ProjectTables& p = s.current;
  appendText(out, " NODO  Flechas[mm]:  M\xE1xima  M\xEDnima\n");
  for (int i = 1; i <= p.nodeCount; ++i) {
    appendFormat(out, " %d   %f  %f   \n", s.nodeDeflectionMax[i].node, s.nodeDeflectionMax[i].value,
                 s.nodeDeflectionMin[i].value);
  }
  const GlobalExtremes& e = s.extremes;
  appendFormat(
      out, " Deformaciones :  M\xE1xima[mm]: %f    M\xEDnima[mm]:  %f   ABSOLUTA[diferencia m\xE1xima][mm]:  %f\n\n",
      e.deflectionMax, e.deflectionMin, e.deflectionSpan);
  appendFormat(out, " Corte :  M\xE1ximo: %f    M\xEDnimo:  %f   \n\n", e.shearMax, e.shearMin);
  appendFormat(out, " Momento :  M\xE1ximo: %f    M\xEDnimo:  %f   \n\n", e.momentMax, e.momentMin);
  // The maxima and minima at the bar's two ends.
  auto barRow = [&out](const BarEndForces& mx, double maxI, double minI, double maxJ, double minJ) {
    appendFormat(out, " %d  %d///%d   %f//%f  /// %f//%f \n", mx.bar, mx.nodeI, mx.nodeJ, maxI, minI, maxJ, minJ);
  };
  appendText(out, " BARRA  Nodos i///j   Mfi(m\xE1x)//Mfi(m\xEDn)  ///   Mfj(m\xE1x)//Mfj(m\xEDn) \n");
  for (int i = 1; i <= p.barCount; ++i) {
    const BarEndForces& mx = s.barForcesMax[i];
    const BarEndForces& mn = s.barForcesMin[i];
    barRow(mx, mx.Mi, mn.Mi, mx.Mj, mn.Mj);
  }
  appendText(out, " BARRA  Nodos i///j   Qi(m\xE1x)//Qi(m\xEDn)  ///   Qj(m\xE1x)//Qj(m\xEDn) \n");
  for (int i = 1; i <= p.barCount; ++i) {
    const BarEndForces& mx = s.barForcesMax[i];
    const BarEndForces& mn = s.barForcesMin[i];
    barRow(mx, mx.Qi, mn.Qi, mx.Qj, mn.Qj);
  }
  appendText(out, " REACCION NODO  R(m\xE1x) ////  R(m\xEDn) \n");
  for (int i = 1; i <= p.supportCount; ++i) {
    appendFormat(out, " %d  %f //// %f \n", s.reactionMax[i].node, s.reactionMax[i].R, s.reactionMin[i].R);
  }
  appendText(out, " Coordenada[m]  flecha m\xE1xima[mm]  ////  flecha m\xEDnima[mm]\n");
  for (int P = 0; P <= s.lastPoint; ++P) {
    appendFormat(out, " %f   %f  ////  %f \n", s.points.x[P], s.points.DeflectionMax[P], s.points.DeflectionMin[P]);
  }
  std::fwrite(out.data(), 1, out.size(), file);
}

}  // namespace envelope
