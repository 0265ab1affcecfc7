// Reading of the envelope's project files, in process:
//   ScanLine/N     the lines of a diagram file and a force table of N bars
//                  scanned as the engine reads them (plain fields, '+' signs)
//   ScanfLine/N    the same lines through sscanf, the baseline
//   ScanTextLines/K the rows of a force table (K 0) or of a diagram file (K 1)
//                  of 250 bars as the program reads them: in the text read,
//                  with bytes after each line that may be looked at
//   ReadProject/N  one whole project of N bars read into its tables
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/file_names.h"
#include "envolventes/engine/envelope_state.h"
#include "envolventes/engine/line_reader.h"
#include "envolventes/engine/message_sink.h"
#include "envolventes/engine/project_reader.h"

using namespace common;
using namespace envelope;

namespace {

// 20 points per bar of 5 m, the values as calcest prints them.
struct ProjectText {
  std::string dat, caf, kar, fmc, res, esf;
  std::vector<std::string> pointLines, tableLines;
};

ProjectText beamText(int nb) {
  ProjectText t;
  char line[256];
  const int nn = nb + 1, last = 20 * nb;
  auto add = [&](std::string& to) { to += line; };
  // No self-weight: the loads file alone stays within the lines a project may hold.
  std::snprintf(line, sizeof line, "VIGA%d   1    0\n%d %d %d 0 1 1 0 0 0 0.0\n", nb, nb, nn, nn), add(t.dat);
  for (int k = 1; k <= nn; ++k) std::snprintf(line, sizeof line, "%d %.1f 0.0\n", k, 5.0 * (k - 1)), add(t.dat);
  for (int k = 1; k <= nb; ++k)
    std::snprintf(line, sizeof line, "%d %d %d 1 1 1 0\n1.0 0.0 0.0 0 1.0\n", k, k, k + 1), add(t.dat);
  t.dat += "1  0.18 0.0054  0.30  0.60\n1 2.5e6 1.04e6 2.5  1.0e-5\n1  110 0.0 0.0\n";
  for (int k = 2; k <= nn; ++k) std::snprintf(line, sizeof line, "%d  10 0.0\n", k), add(t.dat);
  for (int k = 1; k <= nb; ++k) {
    std::snprintf(line, sizeof line, "%d  3  0.0  5.0  0.0  -2.5 y\n", k), add(t.caf);
    if (k % 3 == 0) std::snprintf(line, sizeof line, "%d  1  2.0  3.0  0.0  -10.0 y\n", k), add(t.caf);
    std::snprintf(line, sizeof line, " %d  3  0  5.000000  0   -0.450000  y\n", k), add(t.kar);
  }
  std::snprintf(line, sizeof line, " VIGA%d  1   0  %d \n", nb, last + 1), add(t.fmc);
  std::snprintf(line, sizeof line, "%d\n", last), add(t.esf);
  for (int P = 0; P <= last; ++P) {
    const double x = 0.25 * P, m = 3.125 * ((P % 20) - 10) * 0.1, q = 6.25 - 0.625 * (P % 20);
    std::snprintf(line, sizeof line, "  %7.3f %6.3f %10.4f %10.4f \n", x, -0.001 * (P % 7), m, q);
    t.pointLines.push_back(line), add(t.fmc);
    std::snprintf(line, sizeof line, "%d %.4f %.4f %.4f %.4f %.4f 0.0000 %.4f\n", P, x, q, q, m, m, m);
    t.tableLines.push_back(line), add(t.esf);
  }
  t.res = "   VIGA   1    0 \n";
  for (int k = 1; k <= nn; ++k) std::snprintf(line, sizeof line, " %d       %f       \n", k, -0.001 * k), add(t.res);
  for (int k = 1; k <= nb; ++k)
    std::snprintf(line, sizeof line, "  %3d    %3d %3d     %+15f %+15f    %+15f  %+15f \n", k, k, k + 1, -1.36, -1.62,
                  2.62, -2.73),
        add(t.res);
  for (int k = 1; k <= nn; ++k) std::snprintf(line, sizeof line, "   %d  %f  %f\n", k, 4.29, 0.0), add(t.res);
  return t;
}

void BM_ScanLine(benchmark::State& state) {
  const ProjectText t = beamText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    float a, b, c, d, e, f, g;
    int index;
    for (const std::string& line : t.pointLines)
      benchmark::DoNotOptimize(scanLine(line, "%f %f %f %f", &a, &b, &c, &d));
    for (const std::string& line : t.tableLines)
      benchmark::DoNotOptimize(scanLine(line, "%d %f %f %f %f %f %f %f", &index, &a, &b, &c, &d, &e, &f, &g));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(t.pointLines.size() + t.tableLines.size()));
}

void BM_ScanfLine(benchmark::State& state) {
  const ProjectText t = beamText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    float a, b, c, d, e, f, g;
    int index;
    for (const std::string& line : t.pointLines)
      benchmark::DoNotOptimize(std::sscanf(line.c_str(), "%f %f %f %f", &a, &b, &c, &d));
    for (const std::string& line : t.tableLines)
      benchmark::DoNotOptimize(
          std::sscanf(line.c_str(), "%d %f %f %f %f %f %f %f", &index, &a, &b, &c, &d, &e, &f, &g));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(t.pointLines.size() + t.tableLines.size()));
}

void BM_ScanTextLines(benchmark::State& state) {
  const ProjectText t = beamText(250);
  const bool table = state.range(0) == 0;
  // The text without its first line (the count), and the spare bytes a read file keeps.
  const std::string& file = table ? t.esf : t.fmc;
  const std::string text = file.substr(file.find('\n') + 1) + std::string(32, ' ');
  const char* const readable = text.data() + text.size();
  const char* const last = readable - 32;
  int64_t lines = 0;
  for (auto _ : state) {
    float a, b, c, d, e, f, g;
    int index;
    for (const char* p = text.data(); p < last;) {
      const char* end = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(readable - p))) + 1;
      const std::string_view line(p, static_cast<size_t>(end - p));
      if (table)
        benchmark::DoNotOptimize(scanLine(line, "%d %f %f %f %f %f %f %f", &index, &a, &b, &c, &d, &e, &f, &g));
      else
        benchmark::DoNotOptimize(scanLine(line, "%f %f %f %f", &a, &b, &c, &d));
      p = end;
      ++lines;
    }
  }
  state.SetItemsProcessed(lines);
}

void write(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "w");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

void BM_ReadProject(benchmark::State& state) {
  char dir[] = "/tmp/envolventes-bench-XXXXXX";
  if (!mkdtemp(dir) || chdir(dir) != 0) {
    state.SkipWithError("no scratch directory");
    return;
  }
  const ProjectText t = beamText(static_cast<int>(state.range(0)));
  for (auto [ext, text] : {std::pair<const char*, const std::string*>{kModelExt, &t.dat},
                           {kLoadsExt, &t.caf},
                           {kSelfWeightExt, &t.kar},
                           {kDiagramExt, &t.fmc},
                           {kResultsExt, &t.res},
                           {kForceTableExt, &t.esf},
                           {kDescriptionExt, &t.caf}})
    write(std::string("p") + ext, *text);
  for (auto _ : state) {
    EnvelopeState envelope;
    ProjectTables project;
    RecordingMessageSink sink;
    if (readProject("p", true, envelope, project, sink) != ReadStep::Ok) {
      state.SkipWithError(sink.messages.empty() ? "not read" : sink.messages[0].c_str());
      break;
    }
    benchmark::DoNotOptimize(project.points.data());
  }
  for (const char* ext :
       {kModelExt, kLoadsExt, kSelfWeightExt, kDiagramExt, kResultsExt, kForceTableExt, kDescriptionExt})
    std::remove((std::string("p") + ext).c_str());
  if (chdir("/") == 0) rmdir(dir);
}

}  // namespace

BENCHMARK(BM_ScanLine)->Arg(250)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanTextLines)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanfLine)->Arg(250)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProject)->Arg(50)->Arg(250)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
