#include "armado/tests/test_beams.h"

#include <algorithm>

#include "alternancias/force_table.h"
#include "common/format.h"
#include "projectfiles/model_input.h"

namespace armado::testing {

using common::appendFormat;
using common::formatText;

TestFiles filesOf(const TestBeam& beam) {
  const int division = std::max(1, beam.divisions);
  const int nb = static_cast<int>(beam.bars.size()) * division, nn = nb + 1;
  std::vector<int> supported;  // the ends of the bars above, but an overhang's tip
  for (int node = 1; node <= nn; node += division)
    if (!(node == 1 && beam.overhangLeft) && !(node == nn && beam.overhangRight)) supported.push_back(node);
  common::TextBuffer dat;
  appendFormat(dat, "PRUEBA 1 1\n%d %d %d 0 1 1 0 0 0 0.0\n", nb, nn, static_cast<int>(supported.size()));
  double x = 0;
  for (int node = 1; node <= nn; ++node) {
    appendFormat(dat, "%d %.6f 0.0\n", node, x);
    if (node <= nb) x += beam.bars[(node - 1) / division] / division;
  }
  for (int k = 1; k <= nb; ++k) appendFormat(dat, "%d %d %d 1 1 1 0\n1.0 0.0 0.0 0 1.0\n", k, k, k + 1);
  appendFormat(dat, "1 %.6g %.6g %.6g %.6g\n", beam.b * beam.h, beam.b * beam.h * beam.h * beam.h / 12,
               beam.sizes ? beam.b : 0.0, beam.sizes ? beam.h : 0.0);
  appendFormat(dat, "1 %.9g 1.25e7 25.0 1.0e-5\n", beam.E);
  for (size_t s = 0; s < supported.size(); ++s) {
    const bool spring = std::find(beam.springs.begin(), beam.springs.end(), static_cast<int>(s)) != beam.springs.end();
    if (spring)
      appendFormat(dat, "%d 20 %.6g\n", supported[s], beam.ky);
    else if (s == 0)
      appendFormat(dat, "%d 110 0.0 0.0\n", supported[s]);
    else
      appendFormat(dat, "%d 10 0.0\n", supported[s]);
  }
  // A spring first leaves the beam free to slide: the first rigid support holds it.
  TestFiles files{dat.str(), "", ""};
  for (int k = 1; k <= nb; ++k) {
    const double L = beam.bars[(k - 1) / division] / division;
    files.permanent += formatText("%d 3 0.0 %.6f 0.0 %.6f y\n", k, L, -beam.g);
    files.variable += formatText("%d 3 0.0 %.6f 0.0 %.6f y\n", k, L, -beam.q);
  }
  for (const PointLoad& p : beam.points) {
    const double piece = beam.bars[p.bar - 1] / division;
    const int part = std::min(division - 1, static_cast<int>(p.a / piece));
    const int bar = (p.bar - 1) * division + part + 1;
    const double a = p.a - part * piece;
    (p.variable ? files.variable : files.permanent) +=
        formatText("%d 1 %.6f %.6f 0.0 %.6f y\n", bar, a, piece - a, -p.P);
  }
  return files;
}

BeamInput readTestBeam(const testsupport::ScratchDir& dir, const TestBeam& beam, const std::string& name) {
  const TestFiles files = filesOf(beam);
  dir.write(name + ".dat", files.model);
  dir.write(name + "_g.caf", files.permanent);
  dir.write(name + "_q.caf", files.variable);
  BeamInput input;
  input.model = projectfiles::readModel(dir.file(name + ".dat"), dir.file(name + "_g.caf"));
  alternancias::checkContinuousBeam(input.model, name + ".dat");
  input.variable = projectfiles::readLoadsFile(dir.file(name + "_q.caf"), input.model.bars);
  input.spans = alternancias::spansOf(input.model, name + ".dat");
  return input;
}

Design designTestBeam(const testsupport::ScratchDir& dir, const TestBeam& beam, const DesignData& data) {
  return designBeam(beamDemand(readTestBeam(dir, beam), data.factors, data.shares(), "viga.dat"), data);
}

}  // namespace armado::testing
