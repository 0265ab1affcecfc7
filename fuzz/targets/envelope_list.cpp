// Fuzz target: the envelope list file NAME.dat, read by the viewer's start-up
// flow for an existing envelope; the projects it names are then combined by
// the engine (the first example's project lies beside it).
#include <cstdlib>

#include "common/file_names.h"
#include "fuzz/fuzz_scratch.h"
#include "envolventes/app/startup_flow.h"

using namespace common;

namespace {
// The person picks the existing envelope "lista" once and cancels any later question.
class ScriptedQuestions : public envelope::StartupQuestions {
 public:
  bool askScreenSize(int, int&, int&) override { return false; }
  bool askExisting(int) override { return true; }
  bool askEnvelopeName(std::string&) override { return false; }
  bool askEnvelopeList(int, std::string& name) override {
    if (asked_++) return false;
    name = "lista";
    return true;
  }
  bool askProject(int, std::string&) override { return false; }
  void showName(const std::string&) override {}
  void showMessage(const std::string&) override {}

 private:
  int asked_ = 0;
};

struct Sink : envelope::MessageSink {
  void showMessage(const std::string&) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InScratchDir here;
  // The project is written once; the engine never writes to it.
  static const bool projectWritten = [] {
    for (const char* ext : kEnvelopeInputExtensions) {
      std::string name = std::string("env_a") + ext;
      fuzzScratch().write(name, fixtureFile(std::string(FUZZ_FIXTURE_DIR "/") + name));
    }
    return true;
  }();
  (void)projectWritten;
  fuzzScratch().write("lista.dat", bytesOf(data, size));
  ScriptedQuestions questions;
  envelope::ViewerState state;
  if (envelope::runStartupFlow(2, questions, state) != envelope::FlowResult::Ready) return 0;
  if (state.projectCount < 0 || state.projectCount > kMaxEnvelopeProjects) std::abort();
  envelope::EnvelopeState envelopes;
  envelope::EnvelopeRequest request;
  request.envelopeName = state.envelopeName;
  request.projects = envelope::projectList(state);
  Sink sink;
  envelope::runEnvelope(envelopes, request, state.outputs, sink);
  return 0;
}
