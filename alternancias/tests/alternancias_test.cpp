// The force tables alternancias writes from calcest's results, and its exact
// envelopes checked against continuous-beam theory (three-moment equation for
// equal spans under uniform loads) and against calcest run by hand on the
// arrangements that govern.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/file_names.h"
#include "common/format.h"
#include "projectfiles/model_input.h"
#include "common/testing/test_support.h"
#include "projectfiles/token_file.h"

using namespace common;

namespace {

using testsupport::RunResult;
using testsupport::ScratchDir;

const std::vector<std::string> kNothing;  // no file changed

RunResult alternancias(const ScratchDir& dir, const std::vector<std::string>& args) {
  return testsupport::runProgram(ALTERNANCIAS_BINARY, args, dir.path(), nullptr, 120);
}

std::string formatFactor(double f) {
  std::ostringstream text;
  text << f;
  return text.str();
}

// ---- closed form -------------------------------------------------------------

// n equal spans of length L, pinned at both ends, span j carrying a downward
// uniform load w[j]: the support moments from the three-moment equation
// M(i-1) + 4 M(i) + M(i+1) = -(w(i) + w(i+1)) L²/4, then statics in each span.
struct ContinuousBeam {
  double L;
  std::vector<double> w;

  std::vector<double> supportMoments() const {
    const size_t n = w.size();
    std::vector<double> M(n + 1, 0.0), diag(n + 1, 4.0), rhs(n + 1, 0.0);
    for (size_t i = 1; i < n; ++i) rhs[i] = -(w[i - 1] + w[i]) * L * L / 4;
    for (size_t i = 2; i < n; ++i) {  // forward elimination of the tridiagonal system
      diag[i] -= 1 / diag[i - 1];
      rhs[i] -= rhs[i - 1] / diag[i - 1];
    }
    for (size_t i = n - 1; i >= 1; --i) M[i] = (rhs[i] - (i + 1 < n ? M[i + 1] : 0)) / diag[i];
    return M;
  }
  // Sagging positive, x from the left end of the beam.
  double moment(double x) const {
    const std::vector<double> M = supportMoments();
    const size_t j = std::min(static_cast<size_t>(x / L), w.size() - 1);
    const double u = x - L * static_cast<double>(j);
    return M[j] * (1 - u / L) + M[j + 1] * u / L + w[j] * u * (L - u) / 2;
  }
};

// Model and loads files of that beam: bars of length L, a pin at the left end,
// rollers elsewhere, no self-weight.
std::string beamModel(int spans, double L) {
  std::ostringstream dat;
  dat << "TRAMOS 1 0\n" << spans << ' ' << spans + 1 << ' ' << spans + 1 << " 0 1 1 0 0 0 0.0\n";
  for (int k = 0; k <= spans; ++k) dat << k + 1 << ' ' << k * L << " 0.0\n";
  for (int k = 1; k <= spans; ++k) dat << k << ' ' << k << ' ' << k + 1 << " 1 1 1 0\n1.0 0.0 0.0 0 1.0\n";
  dat << "1 0.125 0.0026 0.25 0.5\n1 2.5e6 1.04e6 2.4 1.0e-5\n";
  for (int k = 0; k <= spans; ++k) dat << k + 1 << (k == 0 ? " 110 0.0 0.0\n" : " 10 0.0\n");
  return dat.str();
}
std::string uniformLoads(int spans, double L, double q) {
  std::string caf;
  for (int k = 1; k <= spans; ++k)
    caf += std::to_string(k) + " 3 0 " + std::to_string(L) + " 0 " + std::to_string(-q) + " y\n";
  return caf;
}

// ---- reading what the program writes ------------------------------------------

// The moment part of an envelope's .esf: per point x, Mf maximum and minimum.
struct EnvelopeMoments {
  std::vector<double> x, max, min;
};
EnvelopeMoments envelopeMoments(const std::string& esf) {
  EnvelopeMoments m;
  bool inMoments = false;
  for (const std::string& line : testsupport::splitLines(esf)) {
    if (line.find("Mfi(m") != std::string::npos) inMoments = true;
    double x, a, b, c, d, e, f;
    if (inMoments &&
        std::sscanf(line.c_str(), " %lf %lf//%lf //// %lf//%lf //// %lf//%lf", &x, &a, &b, &c, &d, &e, &f) == 7) {
      m.x.push_back(x);
      m.max.push_back(e);
      m.min.push_back(f);
    }
  }
  return m;
}

// One row of the summary: "    LABEL  VALUE [x X] xFACTOR [NOTE] SPANS", the
// spans perhaps going on in the lines below.
struct SummaryRow {
  double value = NAN, x = NAN;
  std::string factor, note;
  std::vector<int> spans;  // 1-based
};

// Row `label` of the block `block` ("Apoyo 2", "Tramo 3"); value NaN when absent.
SummaryRow summaryRow(const std::string& output, const std::string& block, const std::string& label) {
  const std::vector<std::string> lines = testsupport::splitLines(output);
  auto labelOf = [](const std::string& line) {
    std::string text = line.size() > 4 ? line.substr(4, 24) : "";
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  };
  size_t k = 0;
  while (k < lines.size() && lines[k].rfind("  " + block + ":", 0) != 0) ++k;
  for (++k; k < lines.size() && lines[k].rfind("    ", 0) == 0 && labelOf(lines[k]) != label;) ++k;
  SummaryRow row;
  if (k >= lines.size() || labelOf(lines[k]) != label) return row;
  std::string rest = lines[k].substr(28);
  while (k + 1 < lines.size() && lines[k + 1].rfind("    ", 0) == 0 && labelOf(lines[k + 1]).empty())
    rest += " " + lines[++k];
  std::istringstream words(rest);
  std::string word;
  words >> row.value >> word;
  if (word == "x") words >> row.x >> word;
  row.factor = word;
  while (words >> word) {
    if (word == "LEVANTAMIENTO" || word == "-" || word.rfind("L/", 0) == 0)
      row.note = word;
    else if (std::isdigit(static_cast<unsigned char>(word[0])))
      row.spans.push_back(std::stoi(word));
  }
  return row;
}

// The results file of project `stem` in `dir`, as calcest wrote it.
projectfiles::ResultsFile resultsOf(const ScratchDir& dir, const std::string& stem) {
  const projectfiles::Model model =
      projectfiles::readModel(dir.file(fileOf(stem, kModelExt)), dir.file(fileOf(stem, kLoadsExt)));
  projectfiles::TokenFile file(dir.file(fileOf(stem, kResultsExt)));
  return projectfiles::readResultsFile(file, projectfiles::resultsShapeOf(model));
}

// calcest by hand on one arrangement: the model, the permanent lines of `g`
// times gG and the variable lines of `q` on the spans (bars) listed times gQ.
projectfiles::ResultsFile byHand(const ScratchDir& dir, const std::string& model, const std::vector<std::string>& g,
                                 double gG, const std::vector<std::string>& q, const std::vector<int>& loadedBars,
                                 double gQ) {
  auto factored = [](const std::string& line, double factor) {
    std::istringstream words(line);
    std::string bar, type, a, c, b, direction;
    double value;
    words >> bar >> type >> a >> c >> b >> value >> direction;
    return bar + " " + type + " " + a + " " + c + " " + b + " " + std::to_string(value * factor) + " " + direction +
           "\n";
  };
  std::string caf;
  for (const std::string& line : g) caf += factored(line, gG);
  for (const std::string& line : q)
    if (std::find(loadedBars.begin(), loadedBars.end(), std::stoi(line)) != loadedBars.end()) caf += factored(line, gQ);
  dir.write("hand.dat", model);
  dir.write("hand.caf", caf);
  EXPECT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), "hand").status, 0);
  return resultsOf(dir, "hand");
}

// ---- force tables --------------------------------------------------------------

// The tables of the bundled envelope projects equal those their closed-form
// script writes.
TEST(ForceTables, BundledEnvelopeProjects_EqualTheClosedFormTables) {
  ScratchDir ours, reference;
  ASSERT_TRUE(testsupport::analyseEnvelopeExamples(CALCEST_BINARY, EXAMPLES_DIR, ours));
  for (const char* project : {"env_a.esf", "env_b.esf", "env_c.esf"}) std::filesystem::remove(ours.file(project));
  const RunResult run = alternancias(ours, {"--tabla", "env_a", "env_b", "env_c"});
  ASSERT_EQ(run.status, 0) << run.output;
  const RunResult script = testsupport::runProgram(
      "/usr/bin/python3", {std::string(EXAMPLES_DIR) + "/envolvente/fuerzas.py"}, reference.path());
  ASSERT_EQ(script.status, 0) << script.output;
  for (const char* project : {"env_a.esf", "env_b.esf", "env_c.esf"})
    EXPECT_EQ(ours.read(project), reference.read(project)) << project;
}

// On the bundled beams (haunch, rigid zones, spring, point loads on and off the
// grid) the table agrees with the diagram file wherever nothing concentrated acts,
// and steps by the reaction at every support and by the load at a point load.
TEST(ForceTables, AgreeWithTheDiagramFileAndStepAtSupportsAndPointLoads) {
  struct Step {
    const char* beam;
    int point;
    double shearStep;  // Qd - Qi
  };
  // viga3: 10 t down at x = 10 (point 30). viga2h: 60 t down at x = 3 (bar of 7 m: not on the grid).
  const Step loadSteps[] = {{"viga3", 30, -10.0}};
  for (const char* beam : {"viga3", "viga2h"}) {
    SCOPED_TRACE(beam);
    ScratchDir dir;
    testsupport::copyProject(EXAMPLES_DIR, beam, dir);
    ASSERT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), beam).status, 0);
    ASSERT_EQ(alternancias(dir, {"--tabla", beam}).status, 0);
    std::vector<std::vector<double>> table;
    for (const std::string& line : testsupport::splitLines(dir.read(fileOf(beam, kForceTableExt)))) {
      std::istringstream words(line);
      std::vector<double> row{std::istream_iterator<double>(words), std::istream_iterator<double>()};
      if (row.size() == 8) table.push_back(row);
    }
    const std::string stem = dir.file(beam);
    const projectfiles::Model model = projectfiles::readModel(fileOf(stem, kModelExt), fileOf(stem, kLoadsExt));
    projectfiles::TokenFile fmcFile(fileOf(stem, kDiagramExt)), resFile(fileOf(stem, kResultsExt));
    const projectfiles::DiagramFile fmc =
        projectfiles::readDiagramFile(fmcFile, model.header.title, model.header.unitCode, model.header.nb);
    const projectfiles::ResultsFile res = projectfiles::readResultsFile(resFile, projectfiles::resultsShapeOf(model));
    ASSERT_EQ(table.size(), fmc.points.size());
    std::vector<double> reactionAt(table.size(), 0.0);
    for (size_t k = 1; k < res.supports.size(); ++k)
      reactionAt[20 * (res.supports[k].node - 1)] += res.supports[k].R.value;
    for (size_t p = 0; p < table.size(); ++p) {
      SCOPED_TRACE(p);
      const double Qi = table[p][2], Qd = table[p][3], Mfi = table[p][4], Mfd = table[p][5];
      double step = reactionAt[p];
      for (const Step& s : loadSteps)
        if (std::string(beam) == s.beam && s.point == static_cast<int>(p)) step += s.shearStep;
      // Nothing lies left of the first point or right of the last.
      const double left = p == 0 ? 0.0 : Qi, right = p + 1 == table.size() ? 0.0 : Qd;
      EXPECT_NEAR(right - left, step, 1e-4);
      if (p > 0 && p + 1 < table.size()) {
        EXPECT_NEAR(Mfi, Mfd, 1e-4);  // no point moments on these beams
      }
      // The diagram file gives the left value inside a bar; at a node, the end of the bar before it.
      const bool node = p % 20 == 0;
      EXPECT_NEAR(p == 0 ? Mfd : Mfi, fmc.points[p].moment.value, 1.5e-4);
      if (!node && step == 0) {
        EXPECT_NEAR(Qi, fmc.points[p].shear.value, 1.5e-4);
      }
    }
    EXPECT_EQ(table[0][6], 0.0);  // CC
  }
}

// An output of --tabla that is an input under another name (a link, a second
// hard name), of its own project or of another in the list, is refused before
// any file is written.
// A failed calcest keeps the last complete results. Where the model has changed
// since (an inner support made a spring: same counts, other forces; or the
// support removed), those results still balance the loads but are not this
// model's: the table is refused, naming the results file, and no file is
// written.
TEST(ForceTables, ResultsOfAnEarlierModel_AreRefused) {
  std::string spring = beamModel(2, 6.0), removed = beamModel(2, 6.0);
  spring.replace(spring.find("2 10 0.0\n"), 9, "2 20 500.0\n");
  removed.replace(removed.find("2 3 3 0"), 7, "2 3 2 0");
  removed.erase(removed.find("3 10 0.0\n"), 9);
  removed.replace(removed.find("2 10 0.0\n"), 9, "3 10 0.0\n");
  for (const std::string& model : {spring, removed}) {
    ScratchDir dir;
    dir.write("dos.dat", beamModel(2, 6.0));
    dir.write("dos.caf", uniformLoads(2, 6.0, 1.0));
    ASSERT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), "dos").status, 0);
    dir.write("dos.dat", model);
    const auto before = testsupport::folderContents(dir.path());
    const RunResult run = alternancias(dir, {"--tabla", "dos"});
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("dos.res"), std::string::npos) << run.output;
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
  }
}

TEST(ForceTables, OutputThatIsAnInput_IsRefusedBeforeAnyFileIsWritten) {
  const struct {
    const char* what;
    const char* output;
    const char* input;
    bool hard;
  } cases[] = {
      {"a table linked to its model", "dos.esf", "dos.dat", false},
      {"a table that is a second name of its results", "dos.esf", "dos.res", true},
      {"a table linked to the loads of another project", "uno.esf", "dos.caf", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    for (const char* project : {"uno", "dos"}) {
      dir.write(fileOf(project, kModelExt), beamModel(2, 6.0));
      dir.write(fileOf(project, kLoadsExt), uniformLoads(2, 6.0, 1.0));
      ASSERT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), project).status, 0);
    }
    if (c.hard)
      std::filesystem::create_hard_link(dir.file(c.input), dir.file(c.output));
    else
      std::filesystem::create_symlink(c.input, dir.file(c.output));
    const auto before = testsupport::folderContents(dir.path());
    const RunResult run = alternancias(dir, {"--tabla", "uno", "dos"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(std::string(c.output) + ", QUE ES EL DATO " + c.input), std::string::npos) << run.output;
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
  }
}

// ---- exact envelopes ------------------------------------------------------------

// Two spans of 6 m under a permanent 1.0 and a variable 8.0 per metre.
struct TwoSpans {
  double L = 6.0, g = 1.0, q = 8.0;
  // The closed form of one arrangement: spans' intensities f·g plus gQ·q where loaded.
  ContinuousBeam under(double f, double gQ, bool first, bool second) const {
    return {L, {f * g + (first ? gQ * q : 0), f * g + (second ? gQ * q : 0)}};
  }
  // Reaction at the far end support: w2·L/2 + M2/L.
  double farReaction(const ContinuousBeam& beam) const { return beam.w[1] * L / 2 + beam.supportMoments()[1] / L; }
  void write(const ScratchDir& dir) const {
    dir.write("dos.dat", beamModel(2, L));
    dir.write("g.caf", uniformLoads(2, L, g));
    dir.write("q.caf", uniformLoads(2, L, q));
  }
};

// The summary's rows and the envelope's moments equal the closed form: both
// spans loaded over the middle support, one span loaded for its largest moment
// and for the uplift at the far end, where the permanent load is favourable.
TEST(ExactEnvelope, TwoSpans_SummaryAndMomentsOfTheirClosedForm) {
  const TwoSpans beam;
  ScratchDir dir;
  beam.write(dir);
  const RunResult run = alternancias(dir, {"V", "dos.dat", "g.caf", "q.caf"});
  ASSERT_EQ(run.status, 0) << run.output;

  const SummaryRow hogging = summaryRow(run.output, "Apoyo 2", "momento m\xE1s negativo");
  EXPECT_NEAR(hogging.value, -(1.35 + 12.0) * 36 / 8, 1e-4);
  EXPECT_EQ(hogging.spans, (std::vector<int>{1, 2}));
  EXPECT_EQ(hogging.factor, "x1.35");
  const SummaryRow largestReaction = summaryRow(run.output, "Apoyo 2", "reacci\xF3n m\xE1xima");
  EXPECT_NEAR(largestReaction.value, 1.25 * 13.35 * 6, 1e-4);
  // Each side of the middle support carries 5/8 of its span's load when both are loaded.
  EXPECT_NEAR(summaryRow(run.output, "Apoyo 2", "cortante a la izquierda").value, -5.0 / 8 * 13.35 * 6, 1e-4);
  EXPECT_NEAR(summaryRow(run.output, "Apoyo 2", "cortante a la derecha").value, 5.0 / 8 * 13.35 * 6, 1e-4);
  // No variable load makes the support moment less negative: the permanent load alone, x1.
  const SummaryRow leastHogging = summaryRow(run.output, "Apoyo 2", "momento m\xE1s positivo");
  EXPECT_NEAR(leastHogging.value, -1.0 * 36 / 8, 1e-4);
  EXPECT_EQ(leastHogging.factor, "x1");
  EXPECT_TRUE(leastHogging.spans.empty());

  // The span's true peak: the closed form sampled every 0.1 mm.
  const ContinuousBeam firstLoaded = beam.under(1.35, 1.5, true, false);
  double best = -1e300, at = 0;
  for (int s = 0; s <= 60000; ++s)
    if (firstLoaded.moment(1e-4 * s) > best) best = firstLoaded.moment(1e-4 * s), at = 1e-4 * s;
  const SummaryRow sagging = summaryRow(run.output, "Tramo 1", "momento m\xE1ximo");
  EXPECT_NEAR(sagging.value, best, 1e-4);
  EXPECT_NEAR(sagging.x, at, 1e-4);
  EXPECT_EQ(sagging.spans, std::vector<int>{1});

  const SummaryRow uplift = summaryRow(run.output, "Apoyo 3", "reacci\xF3n m\xEDnima");
  EXPECT_NEAR(uplift.value, 2.25 - 4.5, 1e-4);
  EXPECT_NEAR(uplift.value, beam.farReaction(beam.under(1.0, 1.5, true, false)), 1e-4);
  EXPECT_EQ(uplift.note, "LEVANTAMIENTO");
  EXPECT_EQ(uplift.factor, "x1");
  EXPECT_EQ(uplift.spans, std::vector<int>{1});
  for (const std::string& line : testsupport::splitLines(run.output)) EXPECT_LE(line.size(), 100u) << line;

  // Every point of the envelope file: the extremes of the four arrangements
  // under either permanent factor, not raised or lowered to zero.
  const EnvelopeMoments env = envelopeMoments(dir.read("V.esf"));
  ASSERT_EQ(env.x.size(), 41u);
  for (size_t p = 0; p < env.x.size(); ++p) {
    double most = -1e300, least = 1e300;
    for (double f : {1.35, 1.0})
      for (int mask = 0; mask < 4; ++mask) {
        const double m = beam.under(f, 1.5, mask & 1, mask & 2).moment(env.x[p]);
        most = std::max(most, m);
        least = std::min(least, m);
      }
    EXPECT_NEAR(env.max[p], most, 1e-4) << "x = " << env.x[p];
    EXPECT_NEAR(env.min[p], least, 1e-4) << "x = " << env.x[p];
  }
}

// The favourable permanent factor sets the uplift at the far end support:
// f·g·6L/16 - gQ·q·L/16 with span 1 loaded.
TEST(ExactEnvelope, FavourablePermanentFactor_SetsTheUplift) {
  const TwoSpans beam;
  const struct {
    std::vector<std::string> options;
    double factor;
    const char* shown;
  } cases[] = {{{}, 1.0, "x1"}, {{"--gGinf", "0.9"}, 0.9, "x0.9"}, {{"--gGinf", "1.35"}, 1.35, "x1.35"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    ScratchDir dir;
    beam.write(dir);
    std::vector<std::string> args = {"V", "dos.dat", "g.caf", "q.caf"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const RunResult run = alternancias(dir, args);
    ASSERT_EQ(run.status, 0) << run.output;
    const SummaryRow uplift = summaryRow(run.output, "Apoyo 3", "reacci\xF3n m\xEDnima");
    EXPECT_NEAR(uplift.value, c.factor * 1.0 * 6 * 6 / 16 - 1.5 * 8 * 6 / 16, 1e-4);
    EXPECT_EQ(uplift.factor, c.shown);
  }
}

// Spans 3, 3, 6, 3, 3 m and a 2.5 m overhang: the arrangement that loads spans
// 1, 3 and the overhang gives span 5 its largest moment and support 5 its
// uplift, as calcest finds it by hand; a fixed list of arrangements missed both.
TEST(ExactEnvelope, OverhangBeam_GovernedByAnArrangementAFixedListMissed) {
  const double lengths[] = {3, 3, 6, 3, 3, 2.5};
  std::ostringstream dat;
  dat << "REPRO 1 1\n6 7 6 0 1 1 0 0 0 0.0\n";
  double x = 0;
  for (int k = 0; k <= 6; ++k) dat << k + 1 << ' ' << x << " 0.0\n", x += k < 6 ? lengths[k] : 0;
  for (int k = 1; k <= 6; ++k) dat << k << ' ' << k << ' ' << k + 1 << " 1 1 1 0\n1.0 0.0 0.0 0 1.0\n";
  dat << "1 0.18 0.0054 0.3 0.6\n1 3.0e7 1.25e7 25.0 1.0e-5\n1 110 0.0 0.0\n";
  for (int k = 2; k <= 6; ++k) dat << k << " 10 0.0\n";
  std::vector<std::string> g, q;
  for (int k = 1; k <= 6; ++k) {
    g.push_back(std::to_string(k) + " 3 0 " + std::to_string(lengths[k - 1]) + " 0 -25 y");
    q.push_back(std::to_string(k) + " 3 0 " + std::to_string(lengths[k - 1]) + " 0 -15 y");
  }
  for (const double gGinf : {1.0, 1.35}) {
    SCOPED_TRACE(gGinf);
    ScratchDir dir;
    dir.write("r.dat", dat.str());
    dir.write("g.caf", g[0] + "\n" + g[1] + "\n" + g[2] + "\n" + g[3] + "\n" + g[4] + "\n" + g[5] + "\n");
    dir.write("q.caf", q[0] + "\n" + q[1] + "\n" + q[2] + "\n" + q[3] + "\n" + q[4] + "\n" + q[5] + "\n");
    std::vector<std::string> args = {"R", "r.dat", "g.caf", "q.caf"};
    if (gGinf != 1.0) args.insert(args.end(), {"--gGinf", formatFactor(gGinf)});  // 1 is the default
    const RunResult run = alternancias(dir, args);
    ASSERT_EQ(run.status, 0) << run.output;
    const double uplift = byHand(dir, dat.str(), g, gGinf, q, {1, 3, 6}, 1.5).supports[5].R.value;
    const double moment = byHand(dir, dat.str(), g, 1.35, q, {1, 3, 6}, 1.5).bars[5].Mi.value;
    if (gGinf == 1.35) {
      EXPECT_NEAR(uplift, -33.88, 0.005);  // permanent x1.35 everywhere
    }
    EXPECT_GT(moment, 38.57);  // the largest inside the span, at x = 15.15
    const SummaryRow least = summaryRow(run.output, "Apoyo 5", "reacci\xF3n m\xEDnima");
    EXPECT_NEAR(least.value, uplift, 1e-4);
    EXPECT_EQ(least.spans, (std::vector<int>{1, 3, 6}));
    const SummaryRow largest = summaryRow(run.output, "Tramo 5", "momento m\xE1ximo");
    EXPECT_NEAR(largest.value, moment, 1e-4);
    EXPECT_NEAR(largest.x, 15.0, 1e-9);
    // The envelope files hold the same extremes.
    const std::string report = dir.read("R.res");
    const size_t reactions = report.find("REACCION NODO");
    double node, most, smallest = NAN;
    std::istringstream rows(report.substr(report.find('\n', reactions)));
    std::string line;
    for (int k = 0; k < 5 && std::getline(rows, line);) k += line.empty() ? 0 : 1;
    ASSERT_EQ(std::sscanf(line.c_str(), " %lf %lf //// %lf", &node, &most, &smallest), 3) << line;
    EXPECT_NEAR(smallest, uplift, 1e-4);
    const EnvelopeMoments moments = envelopeMoments(dir.read("R.esf"));
    EXPECT_NEAR(*std::max_element(moments.max.begin() + 61, moments.max.begin() + 81), moment, 1e-4);
  }
}

// Three and five equal spans: the most negative moment over a support loads
// the two spans beside it and every second span beyond, the largest span
// moment alternate spans, and both equal the extremes over every one of the
// 2^n arrangements.
TEST(ExactEnvelope, ThreeAndFiveSpans_FollowTheTextbookRules) {
  // The reference against the textbook coefficients of three equal spans.
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 1, 1}}).supportMoments()[1], -0.1, 1e-12);
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 1, 0}}).supportMoments()[1], -7.0 / 60, 1e-12);
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 0, 1}}).moment(0.45), 0.10125, 1e-12);
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 1, 0, 1}}).supportMoments()[1], -0.1205, 5e-5);     // four spans
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 1, 1, 1, 1}}).supportMoments()[1], -0.1053, 5e-5);  // five spans

  const double L = 5.0, g = 1.0, q = 3.0;
  for (int n : {3, 5}) {
    SCOPED_TRACE(n);
    ScratchDir dir;
    dir.write("v.dat", beamModel(n, L));
    dir.write("g.caf", uniformLoads(n, L, g));
    dir.write("q.caf", uniformLoads(n, L, q));
    const RunResult run = alternancias(dir, {"E", "v.dat", "g.caf", "q.caf", "--gG", "1", "--gGinf", "1", "--gQ", "1"});
    ASSERT_EQ(run.status, 0) << run.output;
    auto beamUnder = [&](unsigned mask) {
      ContinuousBeam beam{L, std::vector<double>(n, g)};
      for (int j = 0; j < n; ++j)
        if (mask >> j & 1) beam.w[j] += q;
      return beam;
    };
    for (int support = 2; support <= n; ++support) {  // interior supports
      SCOPED_TRACE(support);
      double worst = 0;
      for (unsigned mask = 0; mask < (1u << n); ++mask)
        worst = std::min(worst, beamUnder(mask).supportMoments()[support - 1]);
      const SummaryRow row = summaryRow(run.output, "Apoyo " + std::to_string(support), "momento m\xE1s negativo");
      EXPECT_NEAR(row.value, worst, 1e-4);
      std::vector<int> rule;
      for (int s = 1; s <= n; ++s)
        if (s == support - 1 || s == support || (s < support - 1 ? support - 1 - s : s - support) % 2 == 0)
          rule.push_back(s);
      EXPECT_EQ(row.spans, rule);
    }
    for (int span = 1; span <= n; ++span) {
      SCOPED_TRACE(span);
      double best = -1e300;
      for (unsigned mask = 0; mask < (1u << n); ++mask)  // the true peak: every 0.5 mm
        for (int s = 0; s <= 10000; ++s) best = std::max(best, beamUnder(mask).moment(L * (span - 1) + L * s / 10000));
      const SummaryRow row = summaryRow(run.output, "Tramo " + std::to_string(span), "momento m\xE1ximo");
      EXPECT_NEAR(row.value, best, 1e-4);
      std::vector<int> alternate;
      for (int s = span % 2 == 1 ? 1 : 2; s <= n; s += 2) alternate.push_back(s);
      EXPECT_EQ(row.spans, alternate);
    }
  }
}

// --casos writes each arrangement the summary names as a project calcest has
// analysed (self-weight written out as factored load), and the envelope list
// of those projects; the project named for a row gives that row's value.
TEST(ExactEnvelope, Cases_AreProjectsThatGiveTheirRowsValues) {
  const TwoSpans beam;
  ScratchDir dir;
  beam.write(dir);
  std::string model = beamModel(2, beam.L);
  model.replace(model.find(" 0 0 0 0.0\n"), 11, " 0 0 1 0.0\n");  // self-weight on
  dir.write("dos.dat", model);
  const RunResult run = alternancias(dir, {"V", "dos.dat", "g.caf", "q.caf", "--casos"});
  ASSERT_EQ(run.status, 0) << run.output;
  // "  V_01: permanentes x1.35 en toda la viga; variables x1.5 en tramos 1, 2"
  std::vector<std::string> listed;
  for (const std::string& line : testsupport::splitLines(run.output))
    if (line.rfind("  V_", 0) == 0) listed.push_back(line.substr(2, line.find(':') - 2));
  auto projectFor = [&](const SummaryRow& row) {
    for (const std::string& line : testsupport::splitLines(run.output)) {
      if (line.rfind("  V_", 0) != 0) continue;
      const std::string name = line.substr(2, line.find(':') - 2);
      const size_t loaded = line.find(" en ", line.find("variables"));
      std::vector<int> spans;
      std::istringstream words(line.substr(loaded));
      std::string word;
      while (words >> word)
        if (std::isdigit(static_cast<unsigned char>(word[0]))) spans.push_back(std::stoi(word));
      if (line.find("permanentes " + row.factor + " ") != std::string::npos && spans == row.spans) return name;
    }
    return std::string();
  };
  const SummaryRow hogging = summaryRow(run.output, "Apoyo 2", "momento m\xE1s negativo");
  const SummaryRow uplift = summaryRow(run.output, "Apoyo 3", "reacci\xF3n m\xEDnima");
  const std::string hoggingProject = projectFor(hogging), upliftProject = projectFor(uplift);
  ASSERT_FALSE(hoggingProject.empty() || upliftProject.empty()) << run.output;
  EXPECT_NEAR(resultsOf(dir, hoggingProject).bars[1].Mj.value, hogging.value, 1e-4);
  EXPECT_NEAR(resultsOf(dir, upliftProject).supports[3].R.value, uplift.value, 1e-4);
  EXPECT_NE(dir.read(fileOf(hoggingProject, kModelExt)), model);  // the self-weight is in the loads
  std::string list = " " + std::to_string(listed.size()) + "\n";
  for (const std::string& name : listed) {
    list += name + "\n";
    EXPECT_TRUE(dir.exists(fileOf(name, kForceTableExt))) << name;
  }
  EXPECT_EQ(dir.read("V.dat"), list);
}

// The bundled beams (self-weight, a haunch, rigid zones, a spring support) make
// an envelope. viga3 with its inner supports coded 1 is held there as by 110
// in calcest: still three spans.
TEST(ExactEnvelope, BundledBeams_MakeAnEnvelope) {
  const struct {
    const char* beam;
    const char* variable;
    int spans;
    std::vector<std::pair<std::string, std::string>> edits;  // lines of the model replaced
  } cases[] = {{"viga3", "viga3q.caf", 3, {}},
               {"viga3", "viga3q.caf", 3, {{"2  10 0.0\n", "2  1 0.0 0.0\n"}, {"3  10 0.0\n", "3  1 0.0 0.0\n"}}},
               {"viga2h", "viga2h.caf", 2, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.beam) + (c.edits.empty() ? "" : " edited"));
    ScratchDir dir;
    testsupport::copyProject(EXAMPLES_DIR, c.beam, dir);
    dir.write(c.variable, testsupport::readFile(std::string(EXAMPLES_DIR) + "/" + c.variable));
    const std::string modelFile = fileOf(c.beam, kModelExt);
    std::string model = dir.read(modelFile);
    for (const auto& [from, to] : c.edits) {
      ASSERT_NE(model.find(from), std::string::npos) << from;
      model.replace(model.find(from), from.size(), to);
    }
    dir.write(modelFile, model);
    const RunResult run = alternancias(dir, {"E", modelFile, fileOf(c.beam, kLoadsExt), c.variable});
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* file : {"E.res", "E.esf", "Ed.svg", "Em.svg", "Ec.svg", "Em.scr"})
      EXPECT_TRUE(dir.exists(file)) << file;
    EXPECT_FALSE(dir.exists("E.dat"));
    EXPECT_NE(run.output.find("Tramo " + std::to_string(c.spans)), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Tramo " + std::to_string(c.spans + 1)), std::string::npos) << run.output;
  }
}

// ---- point actions at nodes -----------------------------------------------------

// Spans of 5 m on a pin and two rollers (nodes 1, 3, 4) with node 2 inside the
// first span and an overhang of 2 m to the tip (node 5); E = 3e7, section
// 0.18 and 0.0054, kN and m. `nodal`: the model's nodal loads, each as its
// node and its lines Fx, Fy, M.
std::string pointActionBeam(const std::vector<std::string>& nodal = {}) {
  const double xs[] = {0, 2.5, 5, 10, 12};
  std::ostringstream dat;
  dat << "NUDOS 1 1\n4 5 3 " << nodal.size() << " 1 1 0 0 0 0.0\n";
  for (int k = 0; k < 5; ++k) dat << k + 1 << ' ' << xs[k] << " 0.0\n";
  for (int k = 1; k <= 4; ++k) dat << k << ' ' << k << ' ' << k + 1 << " 1 1 1 0\n1.0 0.0 0.0 0 1.0\n";
  dat << "1 0.18 0.0054 0.25 0.5\n1 3e7 1.25e7 2.4 1.0e-5\n1 110 0.0 0.0\n3 10 0.0\n4 10 0.0\n";
  for (const std::string& load : nodal) dat << load;
  return dat.str();
}

// One physical action at a node written three ways: at the end of the bar on
// its left, at the start of the bar on its right, and as a nodal load (the
// model's, so permanent only; its moment turns the other way round). Every way gives the same summary, envelope
// files, arrangement projects' and project's force tables; where the action
// is variable, the rows the issue's closed forms give (factors 1, 20 kN/m
// permanent on both spans): a couple of 100 at the middle support puts -50
// left of it and +50 right of it; 100 kN on a support goes straight into it,
// the shear beside it stays 5/8 of the span's permanent load; a force at the
// tip is the shear just left of it.
TEST(PointActionsAtNodes, GiveTheSameNumbersWhicheverWayTheyAreWritten) {
  struct Way {
    const char* what;
    std::string line;   // in a loads file
    std::string nodal;  // or in the model
  };
  struct Case {
    const char* what;
    std::vector<Way> ways;
    const char* block;
    const char* row;
    double variableValue;  // the row when the action is the variable load, factors 1
  };
  const std::string tipDown = "5\n1 0.0\n1 -40.0\n1 0.0\n";
  const Case cases[] = {
      {"couple at the middle support",
       {{"end of bar 2", "2 2 2.5 0 0 100 y\n", ""},
        {"start of bar 3", "3 2 0 5 0 100 y\n", ""},
        {"nodal", "", "3\n1 0.0\n1 0.0\n1 -100.0\n"}},
       "Apoyo 2",
       "momento m\xE1s negativo",
       -62.5 - 50},
      {"force on the middle support",
       {{"end of bar 2", "2 1 2.5 0 0 -100 y\n", ""},
        {"start of bar 3", "3 1 0 5 0 -100 y\n", ""},
        {"nodal", "", "3\n1 0.0\n1 -100.0\n1 0.0\n"}},
       "Apoyo 2",
       "cortante a la izquierda",
       -62.5},
      {"couple inside the first span",
       {{"end of bar 1", "1 2 2.5 0 0 100 y\n", ""},
        {"start of bar 2", "2 2 0 2.5 0 100 y\n", ""},
        {"nodal", "", "2\n1 0.0\n1 0.0\n1 -100.0\n"}},
       nullptr,
       nullptr,
       0},
      {"force inside the first span",
       {{"end of bar 1", "1 1 2.5 0 0 -40 y\n", ""},
        {"start of bar 2", "2 1 0 2.5 0 -40 y\n", ""},
        {"nodal", "", "2\n1 0.0\n1 -40.0\n1 0.0\n"}},
       nullptr,
       nullptr,
       0},
      {"force at the overhang's tip",
       {{"end of bar 4", "4 1 2 0 0 -40 y\n", ""}, {"nodal", "", tipDown}},
       nullptr,
       nullptr,
       0},
      {"couple at the overhang's tip",
       {{"end of bar 4", "4 2 2 0 0 30 y\n", ""}, {"nodal", "", "5\n1 0.0\n1 0.0\n1 -30.0\n"}},
       nullptr,
       nullptr,
       0},
  };
  const std::string permanent = "1 3 0 2.5 0 -20 y\n2 3 0 2.5 0 -20 y\n3 3 0 5 0 -20 y\n";
  const std::string variable = "1 3 0 2.5 0 -10 y\n3 3 0 5 0 -10 y\n4 3 0 2 0 -10 y\n";
  // The first line where two texts differ, "" where they do not: a short message.
  auto difference = [](const std::string& got, const std::string& first) {
    const std::vector<std::string> a = testsupport::splitLines(got), b = testsupport::splitLines(first);
    for (size_t k = 0; k < std::max(a.size(), b.size()); ++k)
      if (k >= a.size() || k >= b.size() || a[k] != b[k])
        return formatText("line %zu: \"%s\" against \"%s\"", k + 1, k < a.size() ? a[k].c_str() : "",
                          k < b.size() ? b[k].c_str() : "");
    return std::string();
  };
  // What a run writes, by file, and its console; the arrangement projects' tables too.
  auto outputs = [](const ScratchDir& dir, const RunResult& run, bool arrangements) {
    std::map<std::string, std::string> out{{"console", run.output}};
    for (const char* file : {"V.esf", "V.res"}) out[file] = dir.read(file);
    for (int k = 1; arrangements && dir.exists(formatText("V_%02d.esf", k)); ++k)
      out[formatText("V_%02d.esf", k)] = dir.read(formatText("V_%02d.esf", k));
    return out;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const bool variableAction : {false, true}) {
      SCOPED_TRACE(variableAction ? "variable" : "permanent");
      std::map<std::string, std::string> first, firstTable;
      for (const Way& way : c.ways) {
        if (variableAction && way.line.empty()) continue;  // nodal loads are permanent
        SCOPED_TRACE(way.what);
        ScratchDir dir;
        dir.write("m.dat", pointActionBeam(way.nodal.empty() ? std::vector<std::string>{}
                                                             : std::vector<std::string>{way.nodal}));
        dir.write("g.caf", permanent + (variableAction ? "" : way.line));
        dir.write("q.caf", variableAction ? way.line : variable);
        std::vector<std::string> args = {"V", "m.dat", "g.caf", "q.caf"};
        if (variableAction) args.insert(args.end(), {"--gG", "1", "--gGinf", "1", "--gQ", "1", "--casos"});
        const RunResult run = alternancias(dir, args);
        ASSERT_EQ(run.status, 0) << run.output;
        const std::map<std::string, std::string> got = outputs(dir, run, variableAction);
        if (first.empty()) first = got;
        for (const auto& [file, text] : first) EXPECT_EQ(difference(got.at(file), text), "") << file;
        if (variableAction && c.row) {
          EXPECT_NEAR(summaryRow(run.output, c.block, c.row).value, c.variableValue, 1e-4) << run.output;
        }
        if (variableAction) continue;
        // The project of the model and its permanent loads, analysed, and its force table.
        dir.write("p.dat", dir.read("m.dat"));
        dir.write("p.caf", dir.read("g.caf"));
        ASSERT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), "p").status, 0);
        const RunResult table = alternancias(dir, {"--tabla", "p"});
        ASSERT_EQ(table.status, 0) << table.output;
        if (firstTable.empty()) firstTable["p.esf"] = dir.read("p.esf");
        EXPECT_EQ(difference(dir.read("p.esf"), firstTable["p.esf"]), "");
      }
    }
  }
}

// The other sides of the node: right of the couple's support its +50 (and the
// 80 the tip force hangs on the far support carried back a quarter, two equal
// propped spans) above the permanent hogging; the tip force's shear just left
// of the tip, in the envelope's force table.
TEST(PointActionsAtNodes, TheOtherSideOfTheNode_HoldsTheAction) {
  ScratchDir dir;
  dir.write("m.dat", pointActionBeam());
  dir.write("g.caf", "1 3 0 2.5 0 -20 y\n2 3 0 2.5 0 -20 y\n3 3 0 5 0 -20 y\n");
  dir.write("q.caf", "2 2 2.5 0 0 100 y\n4 1 2 0 0 -40 y\n");
  const RunResult run = alternancias(dir, {"V", "m.dat", "g.caf", "q.caf", "--gG", "1", "--gGinf", "1", "--gQ", "1"});
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NEAR(summaryRow(run.output, "Apoyo 2", "momento m\xE1s positivo").value, -62.5 + 50 + 80.0 / 4, 1e-4);
  const SummaryRow cantilever = summaryRow(run.output, "Apoyo 3", "momento m\xE1s negativo");
  EXPECT_NEAR(cantilever.value, -80, 1e-4);
  const std::vector<std::string> lines = testsupport::splitLines(dir.read("V.esf"));
  bool found = false;
  for (const std::string& line : lines) {
    double x, hiL, loL, hiR, loR;
    if (std::sscanf(line.c_str(), " %lf %lf//%lf //// %lf//%lf", &x, &hiL, &loL, &hiR, &loR) == 5 && x == 12.0 &&
        line.find("Qi") == std::string::npos && !found) {
      found = true;
      EXPECT_NEAR(hiL, 40, 1e-2) << line;
    }
  }
  EXPECT_TRUE(found) << dir.read("V.esf");
}

// ---- true peaks and deflections ---------------------------------------------------

// A single span of 6 m (pin and roller, E = 3e7, I = 0.0054), its model and the
// support lines given.
std::string oneSpan(const std::string& supports, double length = 6, const std::string& overhang = "") {
  std::ostringstream dat;
  const bool tip = !overhang.empty();
  dat << "UNO 1 1\n"
      << (tip ? 2 : 1) << ' ' << (tip ? 3 : 2) << " 2 0 1 1 0 0 0 0.0\n1 0.0 0.0\n2 " << length << " 0.0\n"
      << overhang << "1 1 2 1 1 1 0\n1.0 0.0 0.0 0 1.0\n"
      << (tip ? "2 2 3 1 1 1 0\n1.0 0.0 0.0 0 1.0\n" : "") << "1 0.18 0.0054 0.25 0.5\n1 3e7 1.25e7 2.4 1.0e-5\n"
      << supports;
  return dat.str();
}

// The span row's peak is the true one: 100 kN at 2.85 m (between the stations
// 2.7 and 3.0) on 6 m under 5 kN/m, factored, gives 1.35·w·a·b/2 + 1.5·P·a·b/L
// = 254.7366 under the load, where the grid's largest is 244.1250 at 3.0.
TEST(TruePeaks, SpanMomentUnderAPointLoadBetweenStations_IsPabOverL) {
  ScratchDir dir;
  dir.write("m.dat", oneSpan("1 110 0.0 0.0\n2 10 0.0\n"));
  dir.write("g.caf", "1 3 0 6 0 -5 y\n");
  dir.write("q.caf", "1 1 2.85 3.15 0 -100 y\n");
  const RunResult run = alternancias(dir, {"V", "m.dat", "g.caf", "q.caf"});
  ASSERT_EQ(run.status, 0) << run.output;
  const SummaryRow peak = summaryRow(run.output, "Tramo 1", "momento m\xE1ximo");
  EXPECT_NEAR(peak.value, 1.35 * 5 * 2.85 * 3.15 / 2 + 1.5 * 100 * 2.85 * 3.15 / 6, 1e-4);
  EXPECT_NEAR(peak.x, 2.85, 1e-9);
  EXPECT_EQ(peak.spans, std::vector<int>{1});
}

// Deflections from the chord between the span's supports, and the absolute
// ones beside them. One span on a settled pin (10 mm down) and a spring of
// 2e4 kN/m under 10 + 5 kN/m: the bending sags 5·15·6^4/384EI = 1.5625 mm at
// mid-span whatever the supports do (L/3840); the beam itself sits lowest on
// the settled pin, 10 mm. An overhang of 2 m past a roller under the same
// loads bends (w+q)a^4/8EI = 0.1852 mm down from the tangent at its support.
TEST(Deflections, AreMeasuredFromTheSupportsWithTheAbsoluteBeside) {
  ScratchDir dir;
  dir.write("s.dat", oneSpan("1 110 0.0 -0.01\n2 20 2e4\n"));
  dir.write("o.dat", oneSpan("1 110 0.0 0.0\n2 10 0.0\n", 6, "3 8.0 0.0\n"));
  dir.write("g.caf", "1 3 0 6 0 -10 y\n");
  dir.write("q.caf", "1 3 0 6 0 -5 y\n");
  dir.write("og.caf", "1 3 0 6 0 -10 y\n2 3 0 2 0 -10 y\n");
  dir.write("oq.caf", "1 3 0 6 0 -5 y\n2 3 0 2 0 -5 y\n");
  const RunResult spring = alternancias(dir, {"S", "s.dat", "g.caf", "q.caf"});
  ASSERT_EQ(spring.status, 0) << spring.output;
  const SummaryRow bending = summaryRow(spring.output, "Tramo 1", "flecha hacia abajo");
  EXPECT_NEAR(bending.value, -5 * 15 * std::pow(6.0, 4) / (384 * 3e7 * 0.0054) * 1000, 1e-4);
  EXPECT_NEAR(bending.x, 3.0, 1e-6);
  EXPECT_EQ(bending.note, "L/3840");
  const SummaryRow absolute = summaryRow(spring.output, "Tramo 1", "absoluta hacia abajo");
  EXPECT_NEAR(absolute.value, -10, 1e-4);
  EXPECT_NEAR(absolute.x, 0.0, 1e-9);
  EXPECT_NE(spring.output.find("flecha el\xE1stica, secci\xF3n bruta"), std::string::npos) << spring.output;

  const RunResult tip = alternancias(dir, {"O", "o.dat", "og.caf", "oq.caf"});
  ASSERT_EQ(tip.status, 0) << tip.output;
  const SummaryRow cantilever = summaryRow(tip.output, "Tramo 2", "flecha hacia abajo");
  EXPECT_NEAR(cantilever.value, -15 * std::pow(2.0, 4) / (8 * 3e7 * 0.0054) * 1000, 1e-4);
  EXPECT_NEAR(cantilever.x, 8.0, 1e-9);
  EXPECT_EQ(cantilever.spans, std::vector<int>{2});
}

// ---- refused input -------------------------------------------------------------

// Every refusal is a message and status 1, and no envelope is left to be taken
// for this run's: an earlier one stays whole, nothing of this run is put in
// place, not even when writing had begun.
TEST(ExactEnvelope, BadInput_IsRefusedWithNothingPassedOffAsAnEnvelope) {
  const std::string twoSpans = beamModel(2, 6.0), loads = uniformLoads(2, 6.0, 1.0);
  std::string oneSupport = twoSpans;
  oneSupport.replace(oneSupport.find("2 3 3 0"), 7, "2 3 1 0");
  std::string nodalLoad = twoSpans;
  nodalLoad.replace(nodalLoad.find("2 3 3 0"), 7, "2 3 3 1");
  nodalLoad += "2\n1 0.0\n1 -5.0\n1 0.0\n";
  std::string hugeModulus = twoSpans, negativeModulus = twoSpans;
  hugeModulus.replace(hugeModulus.find("1 2.5e6"), 7, "1 1e308");
  negativeModulus.replace(negativeModulus.find("1 2.5e6"), 7, "1 -2.5e6");
  std::string reversed = twoSpans;  // bar 1 from node 2 to node 3, bar 2 from node 1 to node 2
  reversed.replace(reversed.find("1 1 2 1 1 1 0"), 13, "1 2 3 1 1 1 0");
  reversed.replace(reversed.find("2 2 3 1 1 1 0"), 13, "2 1 2 1 1 1 0");

  struct Case {
    const char* what;
    std::string model, variable;
    std::vector<std::string> extraArgs;
    const char* message;
    const char* blocked;  // a directory where the run must write a file: writing has begun
  };
  const Case cases[] = {
      {"variable load on a bar that does not exist", twoSpans, "3 3 0 6 0 -2 y\n", {}, "QUE NO EXISTE", nullptr},
      {"no variable load", twoSpans, "", {}, "NO TIENE NINGUNA CARGA VARIABLE", nullptr},
      {"one support", oneSupport, loads, {}, "PIDEN AL MENOS DOS", nullptr},
      {"nodal loads in the model with --casos", nodalLoad, loads, {"--casos"}, "CARGAS EN NODOS", nullptr},
      {"bars not left to right", reversed, loads, {}, "VIGA CONTINUA", nullptr},
      {"a modulus beyond the range of the doubles", hugeModulus, loads, {}, "NO ES UN N\xDAMERO FINITO", nullptr},
      {"a negative modulus",
       negativeModulus,
       loads,
       {},
       "EL M\xD3"
       "DULO DE ELASTICIDAD DEBE SER MAYOR QUE 0",
       nullptr},
      {"a factor that is not a number", twoSpans, loads, {"--gQ", "x"}, "--gQ PIDE", nullptr},
      {"a favourable factor out of range", twoSpans, loads, {"--gGinf", "0"}, "--gGinf PIDE", nullptr},
      {"a project file that cannot be put in place",
       twoSpans,
       loads,
       {"--casos"},
       "NO SE PUEDE CREAR EL FICHERO V_01.res",
       "V_01.res"},
      {"an envelope that cannot be written", twoSpans, loads, {}, "NO SE PUDO ESCRIBIR LA ENVOLVENTE V", "Vm.svg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.write("m.dat", c.model);
    dir.write("g.caf", loads);
    dir.write("q.caf", c.variable);
    dir.write("V.res", "an earlier envelope\n");
    if (c.blocked) std::filesystem::create_directory(dir.file(c.blocked));
    const auto before = testsupport::folderContents(dir.path());
    std::vector<std::string> args = {"V", "m.dat", "g.caf", "q.caf"};
    args.insert(args.end(), c.extraArgs.begin(), c.extraArgs.end());
    const RunResult run = alternancias(dir, args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);  // the earlier V.res whole, no V.esf, no V_01
  }
}

// A calcest that floods its console (VIGAS_BIN names which) costs no more than
// the last of what it said, which is shown with the refusal.
TEST(ExactEnvelope, ACalcestThatFloodsItsConsoleIsShownByItsLastWords) {
  ScratchDir dir, bin;
  bin.write("calcest", "#!/bin/sh\nhead -c 20000000 /dev/zero | tr '\\000' x\necho\necho 'ERROR: FALSO'\nexit 1\n");
  ASSERT_EQ(chmod(bin.file("calcest").c_str(), 0755), 0);
  dir.write("m.dat", beamModel(2, 6.0));
  dir.write("g.caf", uniformLoads(2, 6.0, 1.0));
  dir.write("q.caf", uniformLoads(2, 6.0, 2.0));
  setenv("VIGAS_BIN", bin.path().c_str(), 1);
  const RunResult run = alternancias(dir, {"V", "m.dat", "g.caf", "q.caf", "--casos"});
  unsetenv("VIGAS_BIN");
  EXPECT_EQ(run.status, 1);
  EXPECT_LT(run.output.size(), 200000u);
  EXPECT_NE(run.output.find("xx\nERROR: FALSO\nERROR: calcest NO PUDO CALCULAR EL PROYECTO V_01"), std::string::npos);
}

// Nodal loads are permanent load: without --casos they are part of the
// permanent case, and a downward one at the middle support only raises its
// reaction.
TEST(ExactEnvelope, NodalLoad_IsPermanentLoad) {
  ScratchDir dir;
  std::string model = beamModel(2, 6.0);
  model.replace(model.find("2 3 3 0"), 7, "2 3 3 1");
  dir.write("n.dat", model + "2\n1 0.0\n1 -5.0\n1 0.0\n");
  dir.write("p.dat", model.replace(model.find("2 3 3 1"), 7, "2 3 3 0"));
  dir.write("g.caf", uniformLoads(2, 6.0, 1.0));
  dir.write("q.caf", uniformLoads(2, 6.0, 2.0));
  const RunResult with = alternancias(dir, {"N", "n.dat", "g.caf", "q.caf"});
  const RunResult without = alternancias(dir, {"P", "p.dat", "g.caf", "q.caf"});
  ASSERT_EQ(with.status, 0) << with.output;
  ASSERT_EQ(without.status, 0) << without.output;
  // The whole permanent case takes one factor: 1.35 for the largest reaction, 1 for the smallest.
  const struct {
    const char* row;
    double factor;
  } rows[] = {{"reacci\xF3n m\xE1xima", 1.35}, {"reacci\xF3n m\xEDnima", 1.0}};
  for (const auto& r : rows)
    EXPECT_NEAR(summaryRow(with.output, "Apoyo 2", r.row).value,
                summaryRow(without.output, "Apoyo 2", r.row).value + r.factor * 5, 1e-4)
        << r.row;
}

// A name that is a project's, or whose files would overwrite or remove an
// input, is refused before anything is written; results of other loads give
// no force table.
TEST(ExactEnvelope, NamesThatWouldOverwriteInputsAndStaleResults_AreRefused) {
  ScratchDir dir;
  dir.write("dos.dat", beamModel(2, 6.0));
  dir.write("dos.caf", uniformLoads(2, 6.0, 1.0));
  dir.write("q.caf", uniformLoads(2, 6.0, 2.0));
  dir.write("W_01.caf", uniformLoads(2, 6.0, 1.0));
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"dos", "dos.dat", "dos.caf", "q.caf"}, "YA HAY UN PROYECTO LLAMADO dos"},
      {{"W", "dos.dat", "W_01.caf", "q.caf"}, "QUE ES EL DATO W_01.caf"},
      {{"V.1", "dos.dat", "dos.caf", "q.caf"}, "NO SIRVE"},
  };
  for (const auto& c : cases) {
    const RunResult run = alternancias(dir, c.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
  }
  EXPECT_EQ(dir.read("W_01.caf"), uniformLoads(2, 6.0, 1.0));
  EXPECT_FALSE(dir.exists("dos.esf") || dir.exists("W.esf") || dir.exists("V.1.esf"));

  ASSERT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), "dos").status, 0);
  dir.write("dos.caf", uniformLoads(2, 6.0, 1.5));  // the loads changed after the analysis
  const RunResult stale = alternancias(dir, {"--tabla", "dos"});
  EXPECT_EQ(stale.status, 1);
  EXPECT_NE(stale.output.find("NO EQUILIBRAN SUS CARGAS"), std::string::npos) << stale.output;
  EXPECT_FALSE(dir.exists("dos.esf"));
}

// ---- a bad day -----------------------------------------------------------------

// A name another run holds (its lock held by a running process) is refused
// with that process named, and everything stays as it was; the lock of a run
// that was killed, and the scratch folder it left, are taken over.
TEST(ExactEnvelope, NameHeldByAnotherRun_IsRefusedAndAKilledRunsLockTakenOver) {
  for (const testsupport::LockHolder& holder : testsupport::lockHolders()) {
    SCOPED_TRACE(holder.what);
    ScratchDir dir;
    TwoSpans().write(dir);
    const testsupport::PlantedLock lock(holder, dir.file("V.lock"));
    std::filesystem::create_directory(dir.file(".V_casos.left01"));
    const auto before = testsupport::folderContents(dir.path());
    const RunResult run = alternancias(dir, {"V", "dos.dat", "g.caf", "q.caf", "--casos"});
    if (holder.running()) {
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.output.find("(PROCESO " + std::to_string(lock.id()) + ") EST\xC1 ESCRIBIENDO V "),
                std::string::npos)
          << run.output;
      EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
    } else {
      EXPECT_EQ(run.status, 0) << run.output;
      EXPECT_TRUE(dir.exists("V.res") && dir.exists("V_01.esf"));
      EXPECT_FALSE(dir.exists("V.lock") || dir.exists(".V_casos.left01"));
    }
  }
}

// The arrangement projects are analysed in a folder of their own: calcest's
// fixed-name traces go neither to the working folder nor to a folder the
// user's VIGAS_TRACES names.
TEST(ExactEnvelope, Cases_LeaveCalcestsTracesOutOfTheUsersFolders) {
  const TwoSpans beam;
  ScratchDir dir, usersTraces;
  beam.write(dir);
  setenv(kTraceFolderVariable, usersTraces.path().c_str(), 1);
  const RunResult run = alternancias(dir, {"V", "dos.dat", "g.caf", "q.caf", "--casos"});
  unsetenv(kTraceFolderVariable);
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(dir.exists("V_01.res"));
  for (const char* trace : kCalcestTraceFiles) EXPECT_FALSE(dir.exists(trace)) << trace;
  EXPECT_TRUE(std::filesystem::is_empty(usersTraces.path()));
}

// With --casos calcest is looked for in the folder VIGAS_BIN names (an empty
// VIGAS_BIN, as a shell's "VIGAS_BIN=", counts as unset), else beside
// alternancias, else on PATH; the message of one not found says where.
TEST(ExactEnvelope, Cases_CalcestNotFoundIsToldWhereItWasLookedFor) {
  const TwoSpans beam;
  ScratchDir dir, bin, path;
  beam.write(dir);
  std::filesystem::copy_file(ALTERNANCIAS_BINARY, bin.file("alternancias"));
  const std::string savedPath = std::getenv("PATH");
  setenv("PATH", path.path().c_str(), 1);
  struct Case {
    const char* vigasBin;
    bool calcestBeside;
    std::string says;  // "" for a complete run
  } cases[] = {
      {"", false, "no est\xE1 junto a " + bin.file("alternancias") + " ni en el PATH (" + path.path() + ")"},
      {"/nonexistent", true, "no est\xE1 en VIGAS_BIN (/nonexistent)"},
      {"", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    setenv("VIGAS_BIN", c.vigasBin, 1);
    if (c.calcestBeside) std::filesystem::create_symlink(CALCEST_BINARY, bin.file("calcest"));
    const RunResult run = testsupport::runProgram(
        bin.file("alternancias"), {"V", "dos.dat", "g.caf", "q.caf", "--casos"}, dir.path(), nullptr, 120);
    std::filesystem::remove(bin.file("calcest"));
    if (c.says.empty()) {
      EXPECT_EQ(run.status, 0) << run.output;
    } else {
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.output, "ERROR: NO SE PUEDE EJECUTAR calcest: " + c.says + "\n");
    }
  }
  unsetenv("VIGAS_BIN");
  setenv("PATH", savedPath.c_str(), 1);
}

// With --casos, what calcest and the envelope viewer cannot take is refused
// before any file is written: a name too long for calcest's model file names,
// a project with more load lines than the viewer reads, more projects than its
// list holds. At the limits the projects are written.
TEST(ExactEnvelope, CasesBeyondWhatCalcestAndTheViewerTake_AreRefusedBeforeAnyFile) {
  auto lines = [](int count) {
    std::string caf;
    for (int k = 0; k < count; ++k) caf += "1 3 0 6 0 -0.01 y\n";
    return caf;
  };
  const struct {
    const char* what;
    std::string name;
    int spans;
    std::string variable;
    const char* message;  // null: the run completes
  } cases[] = {
      {"a name of 45 characters", std::string(45, 'N'), 2, uniformLoads(2, 6.0, 8.0),
       "ES DEMASIADO LARGO PARA --casos"},
      {"a name of 44 characters", std::string(44, 'N'), 2, uniformLoads(2, 6.0, 8.0), nullptr},
      {"500 load lines in a project", "V", 2, lines(498),
       "LLEVAR\xCD"
       "A 500 L\xCDNEAS DE CARGA"},
      {"499 load lines in a project", "V", 2, lines(497), nullptr},
      {"more projects than the viewer's list", "V", 16, uniformLoads(16, 6.0, 8.0),
       "EL VISOR DE ENVOLVENTES TOMA HASTA 50"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.write("b.dat", beamModel(c.spans, 6.0));
    dir.write("g.caf", uniformLoads(c.spans, 6.0, 1.0));
    dir.write("q.caf", c.variable);
    const auto before = testsupport::folderContents(dir.path());
    const RunResult run = alternancias(dir, {c.name, "b.dat", "g.caf", "q.caf", "--casos"});
    if (c.message) {
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
      EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
    } else {
      EXPECT_EQ(run.status, 0) << run.output;
      EXPECT_TRUE(dir.exists(c.name + "_01.esf"));
    }
  }
}

// In a folder that takes no new file, holding the envelope and projects of an
// earlier run of the name, a run of another beam under that name is refused:
// the earlier run stays byte for byte, and nothing is added.
TEST(ExactEnvelope, ReadOnlyFolderHoldingAnEarlierEnvelope_KeepsItWhole) {
  for (const bool cases : {false, true}) {
    SCOPED_TRACE(cases ? "with --casos" : "without --casos");
    ScratchDir dir;
    TwoSpans().write(dir);
    ASSERT_EQ(alternancias(dir, {"V", "dos.dat", "g.caf", "q.caf", "--casos"}).status, 0);
    dir.write("tres.dat", beamModel(3, 5.0));
    dir.write("q3.caf", uniformLoads(3, 5.0, 3.0));
    const auto before = testsupport::folderContents(dir.path());
    std::vector<std::string> args = {"V", "tres.dat", "q3.caf", "q3.caf"};
    if (cases) args.push_back("--casos");
    const RunResult run = testsupport::runInReadOnlyFolder(ALTERNANCIAS_BINARY, args, dir.path(), 120);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("ERROR"), std::string::npos) << run.output;
    EXPECT_EQ(testsupport::changesSince(before, dir.path()), kNothing);
  }
}

}  // namespace
