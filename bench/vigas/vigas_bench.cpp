// The editor's speed on the largest beam (250 bars): opening its files (read
// as typed, read again with the engine's checks, every rule checked), one
// edit with everything checked again, and that edit with the load case
// analysed again in memory (reactions and true lines for the picture), and
// the model picture drawn again as the window redraws it after an edit.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "pictures/model.h"
#include "pictures/recording_canvas.h"
#include "vigas/analysis.h"
#include "vigas/builder.h"
#include "vigas/drawable.h"
#include "vigas/project_files.h"

using namespace vigas;

namespace {

// Ten spans of 25 bars each, a uniform load on every bar in both cases.
Content largestBeam() {
  BeamChoices c;
  c.spans.assign(10, 8.0);
  c.supports.assign(11, SupportChoice{});
  c.supports[0].kind = SupportKind::pinned;
  c.section.b = 0.3;
  c.section.h = 0.7;
  c.material = materialPresets(1)[0].values;
  c.barsPerSpan = 25;
  c.permanentLoad = 12.0;
  c.variableLoad = 6.0;
  return buildContinuousBeam(c).content;
}

class Folder {
 public:
  Folder() {
    char name[] = "/tmp/vigas-bench-XXXXXX";
    if (mkdtemp(name)) path_ = name;
  }
  ~Folder() {
    if (!path_.empty()) std::system(("rm -rf " + path_).c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void BM_OpenLargestBeam(benchmark::State& state) {
  Folder folder;
  Document beam(largestBeam());
  if (folder.path().empty() || !saveProject(beam, folder.path() + "/viga.dat").empty()) {
    state.SkipWithError("cannot save the beam");
    return;
  }
  for (auto _ : state) {
    Document document;
    const OpenResult opened = openProject(folder.path() + "/viga.dat", document);
    if (!opened.opened || document.hasErrors()) state.SkipWithError("the beam does not open cleanly");
    benchmark::DoNotOptimize(document.errors().data());
  }
}
BENCHMARK(BM_OpenLargestBeam)->Unit(benchmark::kMillisecond);

// One edit of a load's value, every rule checked again; false when refused.
bool editLoad(Document& document, int step) {
  const EditResult result = document.setCell({Table::loads, 1 + step % 250, 5, 0}, step % 2 ? "-12" : "-13");
  return result.done && !document.hasErrors();
}

void BM_EditAndCheckAgain(benchmark::State& state) {
  Document document(largestBeam());
  int step = 0;
  for (auto _ : state)
    if (!editLoad(document, step++)) state.SkipWithError("edit refused");
}
BENCHMARK(BM_EditAndCheckAgain)->Unit(benchmark::kMillisecond);

void BM_EditCheckAndAnalyseAgain(benchmark::State& state) {
  Document document(largestBeam());
  int step = 0;
  for (auto _ : state) {
    if (!editLoad(document, step)) state.SkipWithError("edit refused");
    const CaseResults results = analyseCase(document.content(), 0);
    if (!results.error.empty() || results.reactions.size() != 11) state.SkipWithError("analysis failed");
    benchmark::DoNotOptimize(results.curves.data());
    ++step;
  }
}
BENCHMARK(BM_EditCheckAndAnalyseAgain)->Unit(benchmark::kMillisecond);

}  // namespace

// What the window does on every edit before painting: the beam as typed made
// drawable, and the model picture with its loads and labels drawn onto a
// canvas that keeps every element (the window's canvas keeps them to pick).
void BM_DrawLargestBeam(benchmark::State& state) {
  const Document beam(largestBeam());
  for (auto _ : state) {
    const DrawableModel drawable = drawableModel(beam.content(), 0);
    const pictures::ModelFrame frame = pictures::modelPictureFrame(drawable.model);
    pictures::RecordingCanvas canvas;
    pictures::Drawing drawing(canvas, frame.width, frame.height);
    pictures::drawModel(drawing, drawable.model, frame);
    benchmark::DoNotOptimize(canvas.elements.data());
  }
}
BENCHMARK(BM_DrawLargestBeam)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
