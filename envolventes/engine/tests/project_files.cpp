#include "envolventes/engine/tests/project_files.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "common/file_names.h"

namespace {

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
  char buffer[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  return buffer;
}

}  // namespace

float HandProject::pointX(int P) const {
  if (P >= lastPoint()) return nodeX.back();
  int bar = P / 20;
  return nodeX[bar] + (nodeX[bar + 1] - nodeX[bar]) * static_cast<float>(P % 20) / 20.0f;
}

void writeProject(const testsupport::ScratchDir& dir, const std::string& name, const HandProject& p) {
  int nb = p.barCount(), nn = static_cast<int>(p.nodeX.size()), ns = static_cast<int>(p.supports.size());
  std::string dat = format("PRUEBA   1    %d\n", p.unitSystem);
  dat += format("%d %d %d %d 1 1 0 %d %d 0.0\n", nb, nn, ns, static_cast<int>(p.nodalLoads.size()),
                static_cast<int>(p.tieLines.size()), p.selfWeight);
  for (int i = 0; i < nn; ++i) dat += format("%d %.4f 0.0\n", i + 1, p.nodeX[i]);
  for (int i = 1; i <= nb; ++i) dat += format("%d %d %d 1 1 1 0 1.0 0.0 0.0 0 1.0\n", i, i, i + 1);
  dat += "1  0.125 0.0026041667  0.25  0.50\n";
  dat += "1 2.5e6 1.04e6 2.4  1.0e-5\n";
  // As many values as the model file gives the code: three for 111, one for 10, else two.
  for (auto& s : p.supports)
    dat += format("%d  %d %s\n", s[0], s[1], s[1] == 111 ? "0.0 0.0 0.0" : s[1] == 10 ? "0.0" : "0.0 0.0");
  for (auto& t : p.tieLines) dat += t + "\n";
  for (auto& l : p.nodalLoads) dat += format("%d\n1  0.0\n2  %.4f\n3  0.0\n", static_cast<int>(l[0]), l[1]);
  dir.write(name + common::kModelExt, dat);

  std::string caf, kar;
  for (auto& l : p.cafLines) caf += l + "\n";
  for (auto& l : p.karLines) kar += l + "\n";
  dir.write(name + common::kLoadsExt, caf);
  if (p.writeKar) dir.write(name + common::kSelfWeightExt, kar);
  if (p.writeCar) dir.write(name + common::kDescriptionExt, "carga\n");

  std::string res = "   PRUEBA   1    0 \n";
  for (int i = 1; i <= nn; ++i)
    res += format(" %d       %lf       \n", i,
                  i <= static_cast<int>(p.nodeDeflection.size()) ? p.nodeDeflection[i - 1] : 0.0);
  for (int i = 1; i <= nb; ++i) {
    std::array<float, 4> e{0, 0, 0, 0};
    if (i <= static_cast<int>(p.barEnds.size())) e = p.barEnds[i - 1];
    res += format("  %3d    %3d %3d     %+15lf %+15lf    %+15lf  %+15lf \n", i, i, i + 1, e[0], e[1], e[2], e[3]);
  }
  for (int j = 1; j <= ns; ++j) {
    std::array<float, 2> r{0, 0};
    if (j <= static_cast<int>(p.reactions.size())) r = p.reactions[j - 1];
    res += format(" %5d  %lf  %lf\n", p.supports[j - 1][0], r[0], r[1]);
  }
  dir.write(name + common::kResultsExt, res);

  int count = p.lastPoint() + 1 + p.pointCountDelta;
  std::string fmc = format(" PRUEBA  1   %d  %d \n", p.unitSystem, count);
  for (int P = 0; P < count; ++P) {
    float x = p.pointX(P);
    std::array<float, 3> v{0, 0, 0};
    if (p.point) v = p.point(P, x);
    fmc += format(" %7.3f %6.3f %10.4f %10.4f \n", x, v[0], v[1], v[2]);
  }
  dir.write(name + common::kDiagramExt, fmc);

  if (p.writeEsf) {
    int declared = p.esfDeclared >= 0 ? p.esfDeclared : p.lastPoint();
    std::string esf = format("%d\n", declared);
    if (p.esfRows.empty())
      for (int i = 0; i <= declared; ++i) esf += format("%d %.4f 0 0 0 0 0 0\n", i, p.pointX(i));
    for (auto& row : p.esfRows) esf += row + "\n";
    dir.write(name + common::kForceTableExt, esf);
  }
}

std::vector<double> numbersOf(const std::string& line) {
  // Words are separated by blanks and by the slashes of the envelope files.
  std::string text = line;
  for (char& ch : text)
    if (ch == '/') ch = ' ';
  std::istringstream in(text);
  std::vector<double> out;
  std::string word;
  while (in >> word) {
    char* end = nullptr;
    double v = std::strtod(word.c_str(), &end);
    if (end != word.c_str() && *end == '\0') out.push_back(v);
  }
  return out;
}
