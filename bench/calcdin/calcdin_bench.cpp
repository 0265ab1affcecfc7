// Benchmark of the modal engine on straight beams of 10, 50, 125 and 250 bars
// (orders 33 to 753), option 1 (every direction kept):
//   CalcdinRun      the whole program run in process (files, assembly, Jacobi, results)
//   JacobiVsLapack  the Jacobi solution alone on the assembled K and M, with the
//                   number of sweeps, the time per sweep, LAPACK's dsygv (with
//                   eigenvectors) on the same matrices, and the ratio of the two.
//   PlainLayoutJacobi  the same arithmetic on separate S, Q, Phi matrices (baseline).
// `calcdin_bench --lapack-seconds MODEL BARS RUNS` instead prints the least CPU
// seconds of RUNS LAPACK solutions (dsygv, with eigenvectors) of the K and M a
// run of calcdin with option 1 assembles from those files (bench/calcdin/run-option1).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calcdin/assembly.h"
#include "calcdin/driver.h"
#include "calcdin/tests/fixtures.h"
#include "calcdin/jacobi.h"
#include "calcdin/modal_model.h"
#include "calcdin/tests/reference_jacobi.h"

using namespace common;

namespace {

// CPU time of this thread: the machine is shared, wall time is not a fair measure.
double cpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

fixtures::BeamModel benchBeam(int bars) {
  fixtures::BeamModel m = fixtures::horizontalBeam(bars, 2.0 * bars, 2.1e7, 0.12, 0.0016, 2.5);
  m.supports = {{1, 110, {0, 0}}, {bars + 1, 110, {0, 0}}};
  return m;
}

calcdin::PairMatrix assembled(const fixtures::BeamModel& beam) {
  fixtures::TempFile modelFile(beam.modelText());
  fixtures::TempFile recordFile(beam.recordBytes());
  Scanner scanner(modelFile.file, "bench.dat");
  calcdin::ModalModel model = calcdin::readModalModel(scanner);
  calcdin::Elimination elimination = calcdin::eliminateSupports(model.supports, model.header.nn, calcdin::kOptionFree);
  calcdin::PairMatrix full(elimination.total);
  calcdin::BarRecordFile records(recordFile.file, "bench.bar");
  RecordingConsole console;
  calcdin::assembleAll(full, records, model.bars, calcdin::kOptionFree, elimination, console);
  return full;
}

void CalcdinRun(benchmark::State& state) {
  const int bars = static_cast<int>(state.range(0));
  std::string dir = (std::filesystem::temp_directory_path() / "calcdin-bench-XXXXXX").string();
  if (!mkdtemp(dir.data())) state.SkipWithError("mkdtemp");
  fixtures::BeamModel beam = benchBeam(bars);
  std::ofstream(dir + "/b.dat") << beam.modelText();
  std::ofstream(dir + "/b.bar", std::ios::binary) << beam.recordBytes();
  const std::string model = dir + "/b.dat", records = dir + "/b.bar", results = dir + "/b.din";
  int sweeps = 0;
  for (auto _ : state) {
    RecordingConsole console;
    if (runConsoleProgram({model, records, results, "1"}, console, calcdin::kCalcdin) != 0)
      state.SkipWithError(console.text.c_str());
    sweeps = 0;
    for (std::size_t at = console.text.find("NSW:"); at != std::string::npos; at = console.text.find("NSW:", at + 1))
      ++sweeps;
  }
  state.counters["order"] = 3.0 * (bars + 1);
  state.counters["sweeps"] = sweeps;
  std::filesystem::remove_all(dir);
}

void JacobiVsLapack(benchmark::State& state) {
  const int bars = static_cast<int>(state.range(0));
  const calcdin::PairMatrix full = assembled(benchBeam(bars));
  double jacobiSeconds = 0;
  int sweeps = 0, runs = 0;
  for (auto _ : state) {
    calcdin::PairMatrix work = full;
    const double start = cpuSeconds();
    calcdin::ModalSolution solution = calcdin::solveGeneralizedJacobi(work);
    jacobiSeconds += cpuSeconds() - start;
    benchmark::DoNotOptimize(solution.lambda.data());
    sweeps = solution.sweeps;
    ++runs;
  }
  double lapackSeconds = 0;
  int lapackRuns = 0;
  while (lapackRuns < 3 || (lapackSeconds < 0.5 && lapackRuns < 1000)) {
    const double start = cpuSeconds();
    std::vector<double> w = fixtures::lapackEigenvalues(full, true);
    lapackSeconds += cpuSeconds() - start;
    benchmark::DoNotOptimize(w.data());
    ++lapackRuns;
  }
  const double jacobi = jacobiSeconds / runs, lapack = lapackSeconds / lapackRuns;
  state.counters["order"] = full.order();
  state.counters["sweeps"] = sweeps;
  state.counters["ms_per_sweep"] = 1000.0 * jacobi / sweeps;
  state.counters["lapack_ms"] = 1000.0 * lapack;
  state.counters["jacobi_over_lapack"] = jacobi / lapack;
}

// The same method on three separate row-major matrices (no cell pairing, Phi
// not transposed), rotations applied to S, then Q, then Phi: the layout the
// solver started from, kept as the baseline of the figures.
void PlainLayoutJacobi(benchmark::State& state) {
  const int bars = static_cast<int>(state.range(0));
  const calcdin::PairMatrix full = assembled(benchBeam(bars));
  const fixtures::PlainJacobi start(full);
  int sweeps = 0;
  for (auto _ : state) {
    fixtures::PlainJacobi plain = start;
    plain.solve();
    sweeps = plain.sweeps;
    benchmark::DoNotOptimize(plain.Phi.data());
  }
  state.counters["order"] = full.order();
  state.counters["sweeps"] = sweeps;
}

}  // namespace

BENCHMARK(CalcdinRun)->Arg(10)->Arg(50)->Arg(125)->Arg(250)->Unit(benchmark::kMillisecond)->MinTime(0.2);
BENCHMARK(JacobiVsLapack)->Arg(10)->Arg(50)->Arg(125)->Arg(250)->Unit(benchmark::kMillisecond)->MinTime(0.2);

BENCHMARK(PlainLayoutJacobi)->Arg(10)->Arg(50)->Arg(125)->Arg(250)->Unit(benchmark::kMillisecond)->MinTime(0.2);

namespace {
int lapackSeconds(const char* modelName, const char* recordName, int runs) {
  FILE* modelFile = std::fopen(modelName, "r");
  FILE* recordFile = std::fopen(recordName, "rb");
  if (!modelFile || !recordFile) {
    std::fprintf(stderr, "calcdin_bench: cannot open %s or %s\n", modelName, recordName);
    return 1;
  }
  Scanner scanner(modelFile, modelName);
  const calcdin::ModalModel model = calcdin::readModalModel(scanner);
  const calcdin::Elimination elimination =
      calcdin::eliminateSupports(model.supports, model.header.nn, calcdin::kOptionFree);
  calcdin::PairMatrix full(elimination.total);
  const calcdin::BarRecordFile records(recordFile, recordName);
  RecordingConsole console;
  calcdin::assembleAll(full, records, model.bars, calcdin::kOptionFree, elimination, console);
  double least = 0;
  for (int run = 0; run < runs; ++run) {
    const double start = cpuSeconds();
    std::vector<double> w = fixtures::lapackEigenvalues(full, true);
    const double seconds = cpuSeconds() - start;
    benchmark::DoNotOptimize(w.data());
    if (run == 0 || seconds < least) least = seconds;
  }
  std::printf("%.6f\n", least);
  std::fclose(modelFile);
  std::fclose(recordFile);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--lapack-seconds")
    return lapackSeconds(argv[2], argv[3], std::max(1, std::atoi(argv[4])));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
