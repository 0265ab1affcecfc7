#pragma once
// One project file of the envelope engine under fuzzing: the other files of the
// project are the fixed, valid ones calcest gave for the first example, so the
// fuzzed file is read in context. The project is read, combined into an
// envelope (whose two files are written) and all three diagrams are drawn.
#include <cstdlib>

#include "common/file_names.h"
#include "envolventes/engine/envelope_run.h"
#include "envolventes/engine/diagram.h"
#include "fuzz/fuzz_scratch.h"
#include "pictures/recording_canvas.h"

inline void fuzzProjectFile(const char* extension, const uint8_t* data, size_t size) {
  InScratchDir here;
  // The fixed files are written once; the engine never writes to them.
  static const bool fixedFilesWritten = [extension] {
    for (const char* ext : common::kEnvelopeInputExtensions) {
      std::string name = std::string("env_a") + ext;
      if (std::string(ext) != extension)
        fuzzScratch().write(name, fixtureFile(std::string(FUZZ_FIXTURE_DIR "/") + name));
    }
    return true;
  }();
  (void)fixedFilesWritten;
  fuzzScratch().write(std::string("env_a") + extension, bytesOf(data, size));
  envelope::RecordingMessageSink sink;
  envelope::EnvelopeOutputs outputs;
  if (!outputs.create("envolv", sink)) std::abort();
  envelope::EnvelopeState state;
  envelope::EnvelopeRequest request;
  request.envelopeName = "envolv";
  request.projects = {"env_a"};
  envelope::RunOutcome outcome = envelope::runEnvelope(state, request, outputs, sink);
  if (outcome == envelope::RunOutcome::SelectionError) return;
  for (int selector = 1; selector <= 3; ++selector) {
    pictures::RecordingCanvas canvas;
    envelope::drawDiagram(state, selector, canvas);
  }
}
