#include "envolventes/cli/batch.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "common/console_program.h"
#include "envolventes/engine/diagram.h"
#include "envolventes/engine/envelope_run.h"
#include "envolventes/engine/project_names.h"
#include "common/safe_output.h"
#include "envolventes/engine/svg_canvas.h"

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

bool parseInt(const std::string& text, int low, int high, int& value) {
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno || end == text.c_str() || *end || v < low || v > high) return false;
  value = static_cast<int>(v);
  return true;
}

const char* const kUsage =
    "uso: envolventes-batch NOMBRE ANCHO ALTO [PROYECTO...]\n"
    "  ANCHO 300..20000 y ALTO 200..2000 p\xEDxeles; hasta 50 proyectos (nombres sin extensi\xF3n)\n";

const char* const kEnvelopeSuffixes[] = {".res", ".esf", "d.scr", "m.scr", "c.scr", "d.svg", "m.svg", "c.svg", ".lock"};
const char* const kProjectExtensions[] = {".dat", ".caf", ".car", ".kar", ".res", ".fmc", ".esf"};

// The first file the run would write that is one of the project files it reads.
SameFile outputThatIsAProjectFile(const EnvelopeRequest& request) {
  std::vector<std::string> outputs, inputs;
  for (const char* suffix : kEnvelopeSuffixes) outputs.push_back(request.envelopeName + suffix);
  for (const std::string& project : request.projects)
    for (const char* extension : kProjectExtensions) inputs.push_back(project + extension);
  return outputThatIsAnInput(outputs, inputs);
}

// Writes the envelope, its scripts and pictures into `files`; false after a message.
bool writeEnvelope(const EnvelopeRequest& request, const OutputFiles& files, ConsoleSink& sink) {
  EnvelopeOutputs outputs(files);
  if (!outputs.create(request.envelopeName, sink)) return false;
  EnvelopeState state;
  if (runEnvelope(state, request, outputs, sink) != RunOutcome::Completed) return false;
  const char* const suffixes[] = {"", "d.svg", "m.svg", "c.svg"};
  for (int selector = 1; selector <= 3; ++selector) {
    SvgCanvas picture;
    if (paintDiagram(state, selector, picture, sink, files) == DrawOutcome::ScriptError) continue;
    picture.save(request.envelopeName + suffixes[selector], sink, files);
  }
  return sink.count == 0;
}

int run(const std::vector<std::string>& args, Console& console) {
  EnvelopeRequest request;
  if (args.size() < 3 || args[0].empty() || !parseInt(args[1], 300, 20000, request.area.width) ||
      !parseInt(args[2], 200, 2000, request.area.height) || args.size() - 3 > kMaxProjects) {
    console.write(kUsage);
    return 1;
  }
  request.envelopeName = args[0];
  request.projects.assign(args.begin() + 3, args.end());

  if (checkEnvelopeName(request.envelopeName, request.projects) != EnvelopeNameCheck::Usable) {
    console.write("ERROR NOMBRE DE ENVOLVENTE IGUAL AL DE UN PROYECTO\n");
    return 1;
  }
  const SameFile same = outputThatIsAProjectFile(request);
  if (!same.output.empty()) {
    console.write(sameFileText("ENVOLVENTES-BATCH", same, "ELIJA OTRO NOMBRE"));
    return 1;
  }
  // Another run of this name would put its files in place among these.
  RunLock lock;
  long holder = 0;
  if (!lock.acquire(request.envelopeName + ".lock", holder)) {
    console.write(lockRefusalText(request.envelopeName, holder));
    return 1;
  }
  // The envelope is put in place whole, or the earlier one stays as it was.
  ConsoleSink sink(console);
  PendingFiles pending;
  if (!writeEnvelope(request, OutputFiles(pending), sink)) return 1;
  if (!pending.commit()) {
    sink.showMessage(writeErrorText(pending.failed()));
    return 1;
  }
  return 0;
}

}  // namespace

// Its messages are no RunError, and it has no words for memory that runs out.
const ConsoleProgram kBatch{run, nullptr};

}  // namespace envelope
