// Benchmark of the modal engine on straight beams of 10, 50, 125 and 250 bars
// (orders 33 to 753), option 1 (every direction kept):
//   CalcdinRun      the whole program run in process (files, assembly, Jacobi, results)
//   JacobiVsLapack  the Jacobi solution alone on the assembled K and M, with the
//                   number of sweeps, the time per sweep, LAPACK's dsygv (with
//                   eigenvectors) on the same matrices, and the ratio of the two.
//   PlainLayoutJacobi  the same arithmetic on separate S, Q, Phi matrices (baseline).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assembly.h"
#include "driver.h"
#include "fixtures.h"
#include "jacobi.h"
#include "modal_model.h"

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
  calcdin::RecordingConsole console;
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
  const char* argv[] = {"calcdin", model.c_str(), records.c_str(), results.c_str(), "1"};
  int sweeps = 0;
  for (auto _ : state) {
    calcdin::RecordingConsole console;
    if (calcdin::runCalcdin(5, argv, console) != 0) state.SkipWithError(console.text.c_str());
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
    calcdin::RecordingConsole console;
    const double start = cpuSeconds();
    calcdin::ModalSolution solution = calcdin::solveGeneralizedJacobi(work, console);
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


// The same method on three separate row-major matrices S, Q and Phi (no cell
// pairing, Phi not transposed), rotations applied to S, then Q, then Phi: the
// layout the solver started from, kept as the baseline of the figures.
int plainLayoutJacobi(int n, std::vector<double>& S, std::vector<double>& Q, std::vector<double>& Phi) {
  const std::size_t s = n + 1;
  auto at = [s](int r, int c) { return r * s + c; };
  Phi.assign(s * s, 0.0);
  for (int i = 1; i <= n; ++i) Phi[at(i, i)] = 1.0;
  double minS = S[at(1, 1)], maxQ = Q[at(1, 1)];
  for (int i = 2; i <= n; ++i) {
    minS = std::min(minS, S[at(i, i)]);
    maxQ = std::max(maxQ, Q[at(i, i)]);
  }
  const double tolK = 1.0e-6 * minS, tolM = 1.0e-6 * maxQ;
  auto turn = [&](std::vector<double>& A, int k, int j, double al, double ga) {
    for (int m = 1; m <= k - 1; ++m) {
      double old = A[at(m, k)];
      A[at(m, k)] = old + ga * A[at(m, j)];
      A[at(m, j)] = A[at(m, j)] + al * old;
    }
    for (int m = j + 1; m <= n; ++m) {
      double old = A[at(k, m)];
      A[at(k, m)] = old + ga * A[at(j, m)];
      A[at(j, m)] = A[at(j, m)] + al * old;
    }
    for (int m = k + 1; m <= j - 1; ++m) {
      double old = A[at(k, m)];
      A[at(k, m)] = old + ga * A[at(m, j)];
      A[at(m, j)] = A[at(m, j)] + al * old;
    }
    double akk = A[at(k, k)], ajj = A[at(j, j)], akj = A[at(k, j)];
    A[at(k, k)] = ga * ga * ajj + 2.0 * ga * akj + akk;
    A[at(j, j)] = al * al * akk + 2.0 * al * akj + ajj;
    A[at(k, j)] = 0.0;
  };
  int t0 = 1, k0 = 1;
  for (int nsw = 1; nsw <= calcdin::kMaxSweeps; ++nsw) {
    for (int t = t0; t <= n - 1; ++t)
      for (int k = k0; k <= t; ++k) {
        const int j = k + n - t;
        if (std::fabs(S[at(k, j)]) <= tolK && std::fabs(Q[at(k, j)]) <= tolM) continue;
        double a1 = Q[at(k, j)] * S[at(k, k)] - Q[at(k, k)] * S[at(k, j)];
        double a2 = Q[at(k, j)] * S[at(j, j)] - S[at(k, j)] * Q[at(j, j)];
        double a3 = Q[at(j, j)] * S[at(k, k)] - Q[at(k, k)] * S[at(j, j)];
        double d = a3 * a3 / 4.0 + a1 * a2;
        double al, ga;
        if (a1 == 0.0) {
          ga = 0.0;
          al = -S[at(k, j)] / S[at(k, k)];
        } else if (a2 == 0.0) {
          al = 0.0;
          ga = -S[at(k, j)] / S[at(j, j)];
        } else {
          double w = std::sqrt(d);
          if (a3 < 0.0) w = -w;
          al = (w - a3 / 2.0) / a1;
          ga = -(al * a1 / a2);
        }
        turn(S, k, j, al, ga);
        turn(Q, k, j, al, ga);
        for (int m = 1; m <= n; ++m) {
          double old = Phi[at(m, k)];
          Phi[at(m, k)] = old + ga * Phi[at(m, j)];
          Phi[at(m, j)] = Phi[at(m, j)] + al * old;
        }
      }
    bool diagonal = true;
    for (int t = 1; t <= n - 1 && diagonal; ++t)
      for (int k = 1; k <= t; ++k) {
        const int j = k + n - t;
        if (std::fabs(S[at(k, j)]) > tolK || std::fabs(Q[at(k, j)]) > tolM) {
          t0 = t;
          k0 = k;
          diagonal = false;
          break;
        }
      }
    if (diagonal) return nsw;
  }
  return calcdin::kMaxSweeps + 1;
}

void PlainLayoutJacobi(benchmark::State& state) {
  const int bars = static_cast<int>(state.range(0));
  const calcdin::PairMatrix full = assembled(benchBeam(bars));
  const int n = full.order();
  std::vector<double> S0((n + 1) * (n + 1)), Q0(S0.size()), Phi;
  for (int r = 1; r <= n; ++r)
    for (int c = 1; c <= n; ++c) {
      S0[r * (n + 1) + c] = full.S(r, c);
      Q0[r * (n + 1) + c] = full.Q(r, c);
    }
  int sweeps = 0;
  for (auto _ : state) {
    std::vector<double> S = S0, Q = Q0;
    sweeps = plainLayoutJacobi(n, S, Q, Phi);
    benchmark::DoNotOptimize(Phi.data());
  }
  state.counters["order"] = n;
  state.counters["sweeps"] = sweeps;
}

}  // namespace

BENCHMARK(CalcdinRun)->Arg(10)->Arg(50)->Arg(125)->Arg(250)->Unit(benchmark::kMillisecond)->MinTime(0.2);
BENCHMARK(JacobiVsLapack)
    ->Arg(10)->Arg(50)->Arg(125)->Arg(250)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.2);

BENCHMARK(PlainLayoutJacobi)->Arg(10)->Arg(50)->Arg(125)->Arg(250)->Unit(benchmark::kMillisecond)->MinTime(0.2);

BENCHMARK_MAIN();
