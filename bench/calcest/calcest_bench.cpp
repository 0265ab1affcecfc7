// Reading and assembly of a generated continuous beam (50 and 250 bars): the
// files opened, model and loads reading, element matrices, load vector and band
// assembly with its traces, as calcest does them before the supports.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "calcest/phases.h"
#include "calcest/trace_files.h"

using namespace common;

using namespace calcest;

namespace {
// A beam of nb spans of 5 m numbered left to right, a support at every node,
// a uniform load on every span and a point load on every third one.
void writeBeam(int nb) {
  FILE* dat = std::fopen("bench.dat", "w");
  std::fprintf(dat, "VIGA%d   1    0\n%d %d %d 0 1 1 0 0 1 0.0\n", nb, nb, nb + 1, nb + 1);
  for (int k = 1; k <= nb + 1; ++k) std::fprintf(dat, "%d %.1f 0.0\n", k, 5.0 * (k - 1));
  for (int k = 1; k <= nb; ++k) std::fprintf(dat, "%d %d %d 1 1 1 0\n1.0 0.0 0.0 0 1.0\n", k, k, k + 1);
  std::fprintf(dat, "1  0.18 0.0054  0.30  0.60\n1 2.5e6 1.04e6 2.5  1.0e-5\n1  110 0.0 0.0\n");
  for (int k = 2; k <= nb + 1; ++k) std::fprintf(dat, "%d  10 0.0\n", k);
  std::fclose(dat);
  FILE* caf = std::fopen("bench.caf", "w");
  for (int k = 1; k <= nb; ++k) {
    std::fprintf(caf, "%d  3  0.0  5.0  0.0  -2.5 y\n", k);
    if (k % 3 == 0) std::fprintf(caf, "%d  1  2.0  3.0  0.0  -10.0 y\n", k);
  }
  std::fclose(caf);
}

void readAndAssembleBeam() {
  AnalysisContext ctx;
  ctx.args = {"bench.dat", "bench.res", "bench.caf", "bench.fmc", "bench.bar", "0"};
  openFiles(ctx);
  RecordingConsole console;
  TraceFiles traces(ctx, console);
  readAndAssemble(ctx, &traces);
  benchmark::DoNotOptimize(ctx.s[ctx.band(1, 1)]);
}

void BM_ReadAndAssemble(benchmark::State& state) {
  char dir[] = "/tmp/calcest-bench-XXXXXX";
  if (!mkdtemp(dir) || chdir(dir) != 0) {
    state.SkipWithError("no scratch directory");
    return;
  }
  writeBeam(static_cast<int>(state.range(0)));
  for (auto _ : state) readAndAssembleBeam();
  std::string clean = std::string("rm -rf ") + dir;
  if (std::system(clean.c_str()) != 0) state.SkipWithError("cleanup failed");
}
BENCHMARK(BM_ReadAndAssemble)->Arg(50)->Arg(250)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
