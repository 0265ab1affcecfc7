#pragma once
// Runs the engine on projects of a scratch directory.
#include <string>
#include <vector>

#include "envolventes/engine/envelope_run.h"
#include "envolventes/engine/tests/project_files.h"
#include "common/testing/test_support.h"

struct EngineRun {
  envelope::EnvelopeState state;
  envelope::RecordingMessageSink sink;
  envelope::RunOutcome outcome = envelope::RunOutcome::Completed;

  // Envelope "E" of the named projects of `dir`, in an area of width x height.
  void run(const testsupport::ScratchDir& dir, const std::vector<std::string>& names, int width = 3000,
           int height = 400) {
    envelope::EnvelopeRequest request;
    request.envelopeName = dir.file("E");
    request.area = {width, height};
    for (auto& n : names) request.projects.push_back(dir.file(n));
    envelope::EnvelopeOutputs outputs;
    ASSERT_TRUE(outputs.create(request.envelopeName, sink));
    outcome = envelope::runEnvelope(state, request, outputs, sink);
  }

  // Envelope of the one hand-written project `p`, in a scratch directory of its
  // own that is gone afterwards (for what the state holds, not the files).
  void runOne(const HandProject& p) {
    testsupport::ScratchDir dir;
    writeProject(dir, "a", p);
    run(dir, {"a"});
  }
};
