// The force tables alternancias writes from calcest's results, and the
// envelopes of the variable load's arrangements checked against continuous-beam
// theory (three-moment equation for equal spans under uniform loads).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model_input.h"
#include "test_support.h"
#include "token_file.h"

namespace {

using testsupport::RunResult;
using testsupport::ScratchDir;

RunResult alternancias(const ScratchDir& dir, const std::vector<std::string>& args) {
  return testsupport::runProgram(ALTERNANCIAS_BINARY, args, dir.path(), nullptr, 120);
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
  for (int k = 1; k <= spans; ++k) caf += std::to_string(k) + " 3 0 " + std::to_string(L) + " 0 " + std::to_string(-q) + " y\n";
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
    if (inMoments && std::sscanf(line.c_str(), " %lf %lf//%lf //// %lf//%lf //// %lf//%lf", &x, &a, &b, &c, &d, &e,
                                 &f) == 7) {
      m.x.push_back(x);
      m.max.push_back(e);
      m.min.push_back(f);
    }
  }
  return m;
}

// The summary line of support (or span) `k`, as its words.
std::vector<std::string> summaryRow(const std::string& output, const std::string& heading, int k) {
  bool inTable = false;
  for (const std::string& line : testsupport::splitLines(output)) {
    if (line.rfind(heading, 0) == 0) inTable = true;
    else if (line.empty()) inTable = false;
    else if (inTable) {
      std::istringstream words(line);
      std::vector<std::string> row{std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
      if (!row.empty() && row[0] == std::to_string(k)) return row;
    }
  }
  return {};
}

// The spans an arrangement loads, from its line in the summary ("  V_04  tramos 1, 2 (contiguos)").
std::vector<int> loadedSpans(const std::string& output, const std::string& project) {
  for (const std::string& line : testsupport::splitLines(output))
    if (line.rfind("  " + project + "  ", 0) == 0) {
      std::vector<int> spans;
      std::istringstream words(line.substr(line.find("tramo")));
      std::string word;
      while (words >> word)
        if (std::isdigit(static_cast<unsigned char>(word[0]))) spans.push_back(std::stoi(word));
      return spans;
    }
  return {};
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
  const RunResult script = testsupport::runProgram("/usr/bin/python3", {std::string(EXAMPLES_DIR) + "/envolvente/fuerzas.py"},
                                                   reference.path());
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
    for (const char* ext : {".dat", ".caf"}) dir.write(std::string(beam) + ext, testsupport::readFile(std::string(EXAMPLES_DIR) + "/" + beam + ext));
    ASSERT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), beam).status, 0);
    ASSERT_EQ(alternancias(dir, {"--tabla", beam}).status, 0);
    std::vector<std::vector<double>> table;
    for (const std::string& line : testsupport::splitLines(dir.read(std::string(beam) + ".esf"))) {
      std::istringstream words(line);
      std::vector<double> row{std::istream_iterator<double>(words), std::istream_iterator<double>()};
      if (row.size() == 8) table.push_back(row);
    }
    const std::string stem = dir.file(beam);
    const informe::Model model = informe::readModel(stem + ".dat", stem + ".caf");
    informe::TokenFile fmcFile(stem + ".fmc"), resFile(stem + ".res");
    const informe::DiagramFile fmc =
        informe::readDiagramFile(fmcFile, model.header.title, model.header.unitCode, model.header.nb);
    const informe::ResultsFile res = informe::readResultsFile(resFile, informe::resultsShapeOf(model));
    ASSERT_EQ(table.size(), fmc.points.size());
    std::vector<double> reactionAt(table.size(), 0.0);
    for (size_t k = 1; k < res.supports.size(); ++k) reactionAt[20 * (res.supports[k].node - 1)] += res.supports[k].Ry.value;
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
      EXPECT_NEAR(p == 0 ? Mfd : Mfi, fmc.points[p].M.value, 1.5e-4);
      if (!node && step == 0) {
        EXPECT_NEAR(Qi, fmc.points[p].V.value, 1.5e-4);
      }
    }
    EXPECT_EQ(table[0][6], 0.0);  // CC
  }
}

// ---- arrangements of the variable load -----------------------------------------

// Two spans of 6 m, permanent 1.0 and variable 2.0 per metre: with 1.35 and 1.5
// the support moment is -(1.35 + 3.0)·6²/8 (both spans loaded) and the largest
// span moment that of one span under 4.35 beside one under 1.35.
TEST(Patterns, TwoSpans_SupportAndSpanMomentsOfTheirClosedForm) {
  ScratchDir dir;
  dir.write("dos.dat", beamModel(2, 6.0));
  dir.write("g.caf", uniformLoads(2, 6.0, 1.0));
  dir.write("q.caf", uniformLoads(2, 6.0, 2.0));
  const RunResult run = alternancias(dir, {"V", "dos.dat", "g.caf", "q.caf"});
  ASSERT_EQ(run.status, 0) << run.output;
  const EnvelopeMoments env = envelopeMoments(dir.read("V.esf"));
  ASSERT_EQ(env.x.size(), 41u);
  const double all = 1.35 * 1.0 + 1.5 * 2.0;
  EXPECT_NEAR(-all * 36 / 8, -19.575, 1e-12);
  EXPECT_NEAR(env.min[20], -19.575, 1e-4);
  const ContinuousBeam oneSpan{6.0, {all, 1.35}};
  EXPECT_NEAR(oneSpan.moment(2.4), 13.662, 5e-4);
  const size_t largest = std::max_element(env.max.begin(), env.max.begin() + 20) - env.max.begin();
  EXPECT_NEAR(env.x[largest], 2.4, 1e-9);
  EXPECT_NEAR(env.max[largest], oneSpan.moment(2.4), 1e-4);
  // Every point: the extremes of the three arrangements (both, first, second span loaded).
  const ContinuousBeam arrangements[] = {{6.0, {all, all}}, {6.0, {all, 1.35}}, {6.0, {1.35, all}}};
  for (size_t p = 1; p + 1 < env.x.size(); ++p) {
    double most = 0, least = 0;
    for (const ContinuousBeam& beam : arrangements) {
      most = std::max(most, beam.moment(env.x[p]));
      least = std::min(least, beam.moment(env.x[p]));
    }
    EXPECT_NEAR(env.max[p], most, 1e-4) << "x = " << env.x[p];
    EXPECT_NEAR(env.min[p], least, 1e-4) << "x = " << env.x[p];
  }
  EXPECT_EQ(summaryRow(run.output, "Apoyo", 2).at(4), "V_01");
  EXPECT_EQ(loadedSpans(run.output, summaryRow(run.output, "Tramo", 1).at(4)), std::vector<int>{1});
  EXPECT_EQ(loadedSpans(run.output, summaryRow(run.output, "Tramo", 2).at(4)), std::vector<int>{2});

  // Variable load on the second span only: the first span's largest moment is
  // that of the permanent load alone, which the odd arrangement leaves.
  dir.write("q.caf", "2 3 0 6 0 -2.0 y\n");
  const RunResult second = alternancias(dir, {"W", "dos.dat", "g.caf", "q.caf"});
  ASSERT_EQ(second.status, 0) << second.output;
  const ContinuousBeam permanentOnly{6.0, {1.35, 1.35}};
  double best = 0;
  for (int s = 1; s < 20; ++s) best = std::max(best, permanentOnly.moment(0.3 * s));
  const std::vector<std::string> span1 = summaryRow(second.output, "Tramo", 1);
  ASSERT_GE(span1.size(), 5u);
  EXPECT_NEAR(std::stod(span1[2]), best, 1e-4);
  EXPECT_NE(second.output.find("  " + span1[4] + "  ning\xFAn tramo"), std::string::npos) << second.output;
}

// Three and five equal spans: the largest support moment comes from the two
// spans beside the support and every second span beyond them, the largest span
// moment from alternate spans, and both equal the extremes over every one of
// the 2^n arrangements.
TEST(Patterns, ThreeAndFiveSpans_FollowTheTextbookRules) {
  // The reference against the textbook coefficients of three equal spans.
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 1, 1}}).supportMoments()[1], -0.1, 1e-12);
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 1, 0}}).supportMoments()[1], -7.0 / 60, 1e-12);
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 0, 1}}).moment(0.45), 0.10125, 1e-12);
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 1, 0, 1}}).supportMoments()[1], -0.1205, 5e-5);      // four spans
  EXPECT_NEAR(ContinuousBeam({1.0, {1, 1, 1, 1, 1}}).supportMoments()[1], -0.1053, 5e-5);  // five spans

  const double L = 5.0, g = 1.0, q = 3.0;
  for (int n : {3, 5}) {
    SCOPED_TRACE(n);
    ScratchDir dir;
    dir.write("v.dat", beamModel(n, L));
    dir.write("g.caf", uniformLoads(n, L, g));
    dir.write("q.caf", uniformLoads(n, L, q));
    const RunResult run = alternancias(dir, {"E", "v.dat", "g.caf", "q.caf", "--gG", "1", "--gQ", "1"});
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
      const std::vector<std::string> row = summaryRow(run.output, "Apoyo", support);
      ASSERT_GE(row.size(), 5u);
      EXPECT_NEAR(std::stod(row[3]), worst, 1e-4);
      // The spans beside the support, then every second span beyond them.
      std::vector<int> rule;
      unsigned mask = 0;
      for (int s = 1; s <= n; ++s)
        if (s == support - 1 || s == support || (s < support - 1 ? support - 1 - s : s - support) % 2 == 0) {
          rule.push_back(s);
          mask |= 1u << (s - 1);
        }
      EXPECT_NEAR(worst, beamUnder(mask).supportMoments()[support - 1], 1e-12);
      EXPECT_EQ(loadedSpans(run.output, row[4]), rule);
    }
    for (int span = 1; span <= n; ++span) {
      SCOPED_TRACE(span);
      double best = -1e300;
      for (unsigned mask = 0; mask < (1u << n); ++mask)
        for (int s = 1; s < 20; ++s) best = std::max(best, beamUnder(mask).moment(L * (span - 1) + L * s / 20));
      const std::vector<std::string> row = summaryRow(run.output, "Tramo", span);
      ASSERT_GE(row.size(), 5u);
      EXPECT_NEAR(std::stod(row[2]), best, 1e-4);
      std::vector<int> alternate;
      for (int s = span % 2 == 1 ? 1 : 2; s <= n; s += 2) alternate.push_back(s);
      EXPECT_EQ(loadedSpans(run.output, row[4]), alternate);
    }
  }
}

// Self-weight switched on in the model is carried as permanent load: with both
// factors 1 the arrangement loading every span gives the table of the original
// model analysed under both loads files together.
TEST(Patterns, SelfWeightBecomesExplicitPermanentLoad) {
  ScratchDir dir;
  std::string model = beamModel(2, 6.0);
  model.replace(model.find(" 0 0 0 0.0\n"), 11, " 0 0 1 0.0\n");  // switch self-weight on
  dir.write("pp.dat", model);
  dir.write("g.caf", uniformLoads(2, 6.0, 1.0));
  dir.write("q.caf", "2 1 2 4 0 -5 y\n");
  ASSERT_EQ(alternancias(dir, {"P", "pp.dat", "g.caf", "q.caf", "--gG", "1", "--gQ", "1"}).status, 0);
  dir.write("pp.caf", dir.read("g.caf") + dir.read("q.caf"));
  ASSERT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), "pp").status, 0);
  ASSERT_EQ(alternancias(dir, {"--tabla", "pp"}).status, 0);
  EXPECT_NE(dir.read("P_01.dat"), model);
  EXPECT_EQ(dir.read("P_01.esf"), dir.read("pp.esf"));
}

// The bundled beams (self-weight, a haunch, rigid zones, a spring support) go
// through every step: three spans give seven arrangements, two spans three.
// viga3 with its inner supports coded 1 is held there as by 110 in calcest:
// still three spans.
TEST(Patterns, BundledBeams_MakeAnEnvelope) {
  const struct {
    const char* beam;
    const char* variable;
    const char* arrangements;
    std::vector<std::pair<std::string, std::string>> edits;  // lines of the model replaced
  } cases[] = {{"viga3", "viga3q.caf", " 7\n", {}},
               {"viga3", "viga3q.caf", " 7\n", {{"2  10 0.0\n", "2  1 0.0 0.0\n"}, {"3  10 0.0\n", "3  1 0.0 0.0\n"}}},
               {"viga2h", "viga2h.caf", " 3\n", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.beam) + (c.edits.empty() ? "" : " edited"));
    ScratchDir dir;
    for (std::string file : {std::string(c.beam) + ".dat", std::string(c.beam) + ".caf", std::string(c.variable)})
      dir.write(file, testsupport::readFile(std::string(EXAMPLES_DIR) + "/" + file));
    std::string model = dir.read(std::string(c.beam) + ".dat");
    for (const auto& [from, to] : c.edits) {
      ASSERT_NE(model.find(from), std::string::npos) << from;
      model.replace(model.find(from), from.size(), to);
    }
    dir.write(std::string(c.beam) + ".dat", model);
    const RunResult run = alternancias(dir, {"E", std::string(c.beam) + ".dat", std::string(c.beam) + ".caf", c.variable});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(dir.read("E.dat").substr(0, 3), c.arrangements);
    for (const char* file : {"E.res", "E.esf", "Ed.svg", "Em.svg", "Ec.svg", "Em.scr"}) EXPECT_TRUE(dir.exists(file)) << file;
  }
}

// ---- refused input -------------------------------------------------------------

// Every refusal is a message and status 1, and no envelope is left to be taken
// for this run's (not even an earlier one); input refused on reading leaves no
// file written at all.
TEST(Patterns, BadInput_IsRefusedWithNothingPassedOffAsAnEnvelope) {
  const std::string twoSpans = beamModel(2, 6.0), loads = uniformLoads(2, 6.0, 1.0);
  std::string oneSupport = twoSpans;
  oneSupport.replace(oneSupport.find("2 3 3 0"), 7, "2 3 1 0");
  std::string nodalLoad = twoSpans;
  nodalLoad.replace(nodalLoad.find("2 3 3 0"), 7, "2 3 3 1");
  nodalLoad += "2\n1 0.0\n1 -5.0\n1 0.0\n";
  std::string reversed = twoSpans;  // bar 1 from node 2 to node 3, bar 2 from node 1 to node 2
  reversed.replace(reversed.find("1 1 2 1 1 1 0"), 13, "1 2 3 1 1 1 0");
  reversed.replace(reversed.find("2 2 3 1 1 1 0"), 13, "2 1 2 1 1 1 0");
  const std::string manySpans = beamModel(25, 2.0);

  struct Case {
    const char* what;
    std::string model, variable;
    std::vector<std::string> extraArgs;
    const char* message;
    const char* blocked;  // a directory where the run must write a file: the analyses have begun
  };
  const Case cases[] = {
      {"variable load on a bar that does not exist", twoSpans, "3 3 0 6 0 -2 y\n", {}, "QUE NO EXISTE", nullptr},
      {"no variable load", twoSpans, "", {}, "NO TIENE NINGUNA CARGA VARIABLE", nullptr},
      {"one support", oneSupport, loads, {}, "PIDEN AL MENOS DOS", nullptr},
      {"more arrangements than an envelope holds", manySpans, uniformLoads(25, 2.0, 1.0), {}, "COMO MUCHO 50", nullptr},
      {"nodal loads in the model", nodalLoad, loads, {}, "CARGAS EN NODOS", nullptr},
      {"bars not left to right", reversed, loads, {}, "VIGA CONTINUA", nullptr},
      {"a factor that is not a number", twoSpans, loads, {"--gQ", "x"}, "--gQ PIDE", nullptr},
      {"a calcest run that fails", twoSpans, loads, {}, "NO PUDO CALCULAR EL PROYECTO V_02", "V_02.res"},
      {"an envelope that cannot be written", twoSpans, loads, {}, "NO SE PUDO ESCRIBIR LA ENVOLVENTE V", "Vm.svg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.write("m.dat", c.model);
    dir.write("g.caf", c.model == manySpans ? uniformLoads(25, 2.0, 1.0) : loads);
    dir.write("q.caf", c.variable);
    dir.write("V.res", "an earlier envelope\n");
    const bool analysisStarted = c.blocked != nullptr;
    if (analysisStarted) std::filesystem::create_directory(dir.file(c.blocked));
    std::vector<std::string> args = {"V", "m.dat", "g.caf", "q.caf"};
    args.insert(args.end(), c.extraArgs.begin(), c.extraArgs.end());
    const RunResult run = alternancias(dir, args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    EXPECT_FALSE(dir.exists("V.esf"));
    EXPECT_EQ(dir.exists("V_01.dat"), analysisStarted);
    EXPECT_EQ(dir.exists("V.res"), !analysisStarted);  // an earlier envelope goes only once projects are written
  }
}

// A name that is a project's, or whose files would overwrite an input, is refused
// before anything is written; results of other loads give no force table.
TEST(Patterns, NamesThatWouldOverwriteInputsAndStaleResults_AreRefused) {
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
  EXPECT_FALSE(dir.exists("dos_01.dat") || dir.exists("W_02.dat") || dir.exists("V.1_01.dat"));

  ASSERT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), "dos").status, 0);
  dir.write("dos.caf", uniformLoads(2, 6.0, 1.5));  // the loads changed after the analysis
  const RunResult stale = alternancias(dir, {"--tabla", "dos"});
  EXPECT_EQ(stale.status, 1);
  EXPECT_NE(stale.output.find("NO EQUILIBRAN SUS CARGAS"), std::string::npos) << stale.output;
  EXPECT_FALSE(dir.exists("dos.esf"));
}

}  // namespace
