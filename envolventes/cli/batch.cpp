#include "batch.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "console.h"
#include "diagram.h"
#include "envelope_run.h"
#include "project_names.h"
#include "svg_canvas.h"

namespace envelope {

namespace {

// Prints each message on its own line and remembers that one was shown.
class ConsoleSink : public MessageSink {
 public:
  void showMessage(const std::string& text) override {
    consoleWrite(text + "\n");
    ++count;
  }
  int count = 0;
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

}  // namespace

int runBatch(const std::vector<std::string>& args) {
  EnvelopeRequest request;
  if (args.size() < 3 || args[0].empty() || !parseInt(args[1], 300, 20000, request.area.width) ||
      !parseInt(args[2], 200, 2000, request.area.height) || args.size() - 3 > kMaxProjects) {
    consoleWrite(kUsage);
    return 1;
  }
  request.envelopeName = args[0];
  request.projects.assign(args.begin() + 3, args.end());

  if (checkEnvelopeName(request.envelopeName, request.projects) != EnvelopeNameCheck::Usable) {
    consoleWrite("ERROR NOMBRE DE ENVOLVENTE IGUAL AL DE UN PROYECTO\n");
    return 1;
  }
  ConsoleSink sink;
  EnvelopeOutputs outputs;
  if (!outputs.create(request.envelopeName, sink)) return 1;
  EnvelopeState state;
  RunOutcome outcome = runEnvelope(state, request, outputs, sink);
  if (outcome == RunOutcome::SelectionError) return exitStatusFor(outcome);

  // Like the viewer, draw what is held even after a stop.
  const char* const suffixes[] = {"", "d.svg", "m.svg", "c.svg"};
  for (int selector = 1; selector <= 3; ++selector) {
    SvgCanvas picture;
    if (paintDiagram(state, selector, picture, sink) == DrawOutcome::ScriptError) continue;
    picture.save(request.envelopeName + suffixes[selector], sink);
  }
  return sink.count == 0 ? 0 : 1;
}

}  // namespace envelope
