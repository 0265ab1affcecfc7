#include "envolventes/cli/batch.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <exception>
#include <future>
#include <system_error>
#include <thread>

#include "common/capacities.h"
#include "common/console_program.h"
#include "common/file_names.h"
#include "envolventes/engine/accumulate.h"
#include "envolventes/engine/diagram.h"
#include "envolventes/engine/envelope_run.h"
#include "envolventes/engine/project_names.h"
#include "common/run_error.h"
#include "common/safe_output.h"

namespace envelope {

using namespace common;

namespace {

// Prints each message on its own line and remembers that one was shown.
class ConsoleSink : public MessageSink {
 public:
  explicit ConsoleSink(Console& console) : console_(console) {}
  void showMessage(const std::string& text) override {
    console_.write(text + "\n");
    ++count;
  }
  int count = 0;

 private:
  Console& console_;
};

bool parsePixels(const std::string& text, PixelRange range, int& value) {
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno || end == text.c_str() || *end || v < range.low || v > range.high) return false;
  value = static_cast<int>(v);
  return true;
}

std::string usage() {
  return formatText(
      "uso: envolventes-batch NOMBRE ANCHO ALTO [PROYECTO...]\n"
      "  ANCHO %d..%d y ALTO %d..%d p\xEDxeles; hasta %d proyectos (nombres sin extensi\xF3n)\n",
      kDrawingWidth.low, kDrawingWidth.high, kDrawingHeight.low, kDrawingHeight.high, kMaxEnvelopeProjects);
}

// The first file the run would write that is one of the project files it reads.
SameFile outputThatIsAProjectFile(const EnvelopeRequest& request) {
  std::vector<std::string> outputs = filesOf(request.envelopeName, kEnvelopeFileSuffixes), inputs;
  outputs.push_back(fileOf(request.envelopeName, kLockExt));
  for (const std::string& project : request.projects)
    for (const std::string& input : filesOf(project, kEnvelopeInputExtensions)) inputs.push_back(input);
  return outputThatIsAnInput(outputs, inputs);
}

// The three scripts and pictures of an envelope, drawn in memory on a second
// thread (or here when there is none) from the moment every project is
// combined, while the envelope's files are written, and by this thread too
// once they are: drawing reads the state, with ordinates of its own, and
// touches no file.
class Pictures {
 public:
  Pictures() = default;
  Pictures(const Pictures&) = delete;
  Pictures& operator=(const Pictures&) = delete;
  ~Pictures() {
    if (drawing_.joinable()) drawing_.join();
  }
  // Starts drawing from `state`, which from now on changes only in its ordinates.
  void start(const EnvelopeState& state) {
    state_ = &state;
    try {
      drawing_ = std::thread([this] {
        computeOrdinates(*state_, ordinates_);
        ordinatesDone_.set_value();
        drawWhatIsLeft();
      });
    } catch (const std::system_error&) {
      computeOrdinates(*state_, ordinates_);
      ordinatesDone_.set_value();
    }
  }
  // Draws here what the second thread has not taken up yet.
  void help() {
    ordinatesDone_.get_future().wait();
    drawWhatIsLeft();
  }
  // The script and the picture of diagram `selector` (1..3), once drawn.
  void wait(int selector) {
    ready_[kScripts + selector - 1].get();  // throws here what the drawing threw
    ready_[selector - 1].get();
  }
  const pictures::ScriptCanvas& script(int selector) const { return scripts_[selector - 1]; }
  const pictures::SvgPicture& picture(int selector) const { return canvases_[selector - 1]; }

 private:
  // The pictures first, the larger ones; then the scripts.
  static constexpr int kScripts = 3, kDrawings = 6;

  void drawWhatIsLeft() {
    for (int k; (k = next_.fetch_add(1)) < kDrawings;) {
      try {
        if (k < kScripts)
          drawDiagram(*state_, ordinates_, k + 1, canvases_[k]);
        else
          drawDiagram(*state_, ordinates_, k - kScripts + 1, scripts_[k - kScripts], LabelForm::Script);
        done_[k].set_value();
      } catch (...) {
        done_[k].set_exception(std::current_exception());
      }
    }
  }
  const EnvelopeState* state_ = nullptr;
  EnvelopeOrdinates ordinates_;
  std::promise<void> ordinatesDone_;
  std::atomic<int> next_{0};
  pictures::ScriptCanvas scripts_[3] = {diagramScript(), diagramScript(), diagramScript()};
  pictures::SvgPicture canvases_[3] = {diagramPicture(), diagramPicture(), diagramPicture()};
  std::promise<void> done_[kDrawings];
  std::future<void> ready_[kDrawings] = {done_[0].get_future(), done_[1].get_future(), done_[2].get_future(),
                                         done_[3].get_future(), done_[4].get_future(), done_[5].get_future()};
  std::thread drawing_;
};

// Writes the envelope, its scripts and pictures into `files`; false after a
// message. Each picture is saved after its script, as it would be if drawn
// along with it: where the script cannot be created there is no picture.
bool writeEnvelope(const EnvelopeRequest& request, const OutputFiles& files, ConsoleSink& sink) {
  EnvelopeOutputs outputs(files);
  if (!outputs.create(request.envelopeName, sink)) return false;
  EnvelopeState state;
  Pictures pictures;
  const auto draw = [&pictures](const EnvelopeState& combined) { pictures.start(combined); };
  if (runEnvelope(state, request, outputs, sink, draw) != RunOutcome::Completed) return false;
  pictures.help();
  for (int selector = 1; selector <= 3; ++selector) {
    pictures.wait(selector);
    if (writeDrawnScript(state, selector, pictures.script(selector), sink, files) == DrawOutcome::ScriptError) continue;
    savePicture(pictures.picture(selector), envelopePictureName(request.envelopeName, selector), sink, files);
  }
  return sink.count == 0;
}

int run(const std::vector<std::string>& args, Console& console) {
  EnvelopeRequest request;
  if (args.size() < 3 || args[0].empty() || !parsePixels(args[1], kDrawingWidth, request.area.width) ||
      !parsePixels(args[2], kDrawingHeight, request.area.height) || args.size() - 3 > kMaxEnvelopeProjects) {
    console.write(usage());
    return 1;
  }
  request.envelopeName = args[0];
  request.projects.assign(args.begin() + 3, args.end());

  if (checkEnvelopeName(request.envelopeName, request.projects) != EnvelopeNameCheck::Usable) {
    console.write("ERROR NOMBRE DE ENVOLVENTE IGUAL AL DE UN PROYECTO\n");
    return 1;
  }
  const std::string nameFault = envelopeNameFault(request.envelopeName);
  if (!nameFault.empty()) {
    console.write(nameFault + "\n");
    return 1;
  }
  const SameFile same = outputThatIsAProjectFile(request);
  if (!same.output.empty()) {
    console.write(sameFileText("ENVOLVENTES-BATCH", same, "ELIJA OTRO NOMBRE"));
    return 1;
  }
  const std::string others = othersOutput(filesOf(request.envelopeName, kEnvelopeFileSuffixes));
  if (!others.empty()) {
    console.write(notReplaceableText(others) + "\n");
    return 1;
  }
  // Another run of this name would put its files in place among these.
  RunLock lock;
  long holder = 0;
  if (!lock.acquire(fileOf(request.envelopeName, kLockExt), holder)) {
    console.write(lockRefusalText(request.envelopeName, holder));
    return 1;
  }
  // The envelope is put in place whole, or the earlier one stays as it was.
  ConsoleSink sink(console);
  PendingFiles pending;
  if (!writeEnvelope(request, OutputFiles(pending), sink)) return 1;
  if (!pending.commit()) {
    sink.showMessage(pending.failureText());
    return 1;
  }
  return 0;
}

}  // namespace

// Its messages are no RunError, and it has no words for memory that runs out.
const ConsoleProgram kBatch{run, nullptr};

}  // namespace envelope
