// Reading of a modes file laid out as calcdin writes it for option 1 (every direction of
// a beam of N bars: order 3(N+1), 2·order blocks of order components), from
// memory, so that only the cutting into words and the numbers count:
//   ReadModesFile/N  the file checked and its second listing kept
//   CutWords/N       only the words walked (the floor of the reading)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "projectfiles/modes_file.h"

using namespace projectfiles;

namespace {

std::string modesText(int bars) {
  const int n = 3 * (bars + 1);
  std::string text;
  char line[160];
  for (int listing = 1; listing <= 2; ++listing)
    for (int q = 1; q <= n; ++q) {
      std::snprintf(
          line, sizeof line,
          "AUTOVALOR  indice: %d   direcci\xF3n: %d   valor:   %.10f \nAUTOVALOR  ciclos/seg.:  %f \nAUTOVECTORES\n", q,
          q, 1.5e3 * q * q, 6.1 * q);
      text += line;
      for (int r = 1; r <= n; ++r) {
        std::snprintf(line, sizeof line, "%19.6f \n", ((q * 7919 + r * 104729) % 20001 - 10000) * 1e-4);
        text += line;
      }
    }
  return text;
}

void BM_ReadModesFile(benchmark::State& state) {
  const int bars = static_cast<int>(state.range(0));
  const std::string text = modesText(bars);
  for (auto _ : state) {
    TokenFile in("bench.din", text);
    ModesFile modes = readModesFile(in, bars + 1);
    benchmark::DoNotOptimize(modes.ascending.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_CutWords(benchmark::State& state) {
  const std::string text = modesText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TokenFile in("bench.din", text);
    size_t words = 0;
    while (!in.atEnd()) words += in.word("una palabra").text.size();
    benchmark::DoNotOptimize(words);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

}  // namespace

BENCHMARK(BM_ReadModesFile)->Arg(50)->Arg(250)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CutWords)->Arg(50)->Arg(250)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
