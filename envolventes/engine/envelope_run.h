#pragma once
// The engine's entry point: given the envelope name, the drawing area and the
// project list, read every project, accumulate the envelopes into the state and
// write the envelope's force table (NAME.esf) and report (NAME.res).
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/capacities.h"
#include "envolventes/engine/envelope_state.h"
#include "envolventes/engine/line_reader.h"
#include "envolventes/engine/message_sink.h"
#include "envolventes/engine/output_files.h"

namespace envelope {

struct DrawingArea {
  int width = common::kDrawingWidth.preset;
  int height = common::kDrawingHeight.preset;
};

// The envelope's two result files, created (or truncated) when the envelope
// name is chosen and before any project is read; the engine fills and closes
// them. In place for the viewer; aside, in a set the caller commits, for the
// programs that put a whole envelope in place or none.
class EnvelopeOutputs {
 public:
  explicit EnvelopeOutputs(OutputFiles files = OutputFiles()) : files_(files) {}
  EnvelopeOutputs(const EnvelopeOutputs&) = delete;
  EnvelopeOutputs& operator=(const EnvelopeOutputs&) = delete;
  ~EnvelopeOutputs() {
    closeReport();
    closeForceTable();
  }

  // Creates NAME.res, then NAME.esf. On failure shows "ERROR RES_ENVOLVENTE" or
  // "ERROR ESF_ENVOLVENTE" and returns false (the start-up flow then ends).
  bool create(const std::string& envelopeName, MessageSink& sink);

  FILE* report() const { return report_; }
  FILE* forceTable() const { return forceTable_; }
  void closeReport();
  void closeForceTable();
  // Close a file once written; false after "ERROR: NO SE PUDO ESCRIBIR EL
  // FICHERO NAME.res" (or .esf) when a write or the close failed.
  bool finishReport(MessageSink& sink);
  bool finishForceTable(MessageSink& sink);
  // Where these files go, for the scripts and pictures of the same envelope.
  const OutputFiles& files() const { return files_; }

 private:
  OutputFiles files_;
  FILE* report_ = nullptr;
  FILE* forceTable_ = nullptr;
  std::string reportName_, forceTableName_;
};

struct EnvelopeRequest {
  std::string envelopeName;
  DrawingArea area;
  std::vector<std::string> projects;  // 0..kMaxEnvelopeProjects base names, in order
};

enum class RunOutcome {
  Completed,       // every project combined and both files written
  Stopped,         // a message was shown and the operation ended (a refused project, a file not
                   // written); the view still draws what is held
  SelectionError,  // "ERROR EN SELECCION DE PROYECTOS": the program ends with status 1
};

extern const char* const kSelectionErrorText;  // "ERROR EN SELECCION DE PROYECTOS"

// Exit status the program ends with after this outcome (1 for SelectionError;
// the viewer goes on otherwise).
inline int exitStatusFor(RunOutcome outcome) { return outcome == RunOutcome::SelectionError ? 1 : 0; }

// Reads the projects in order, combines them into `state`, computes the envelope
// ordinates and writes both envelope files into `outputs` (closing them). Every
// message goes to `sink`. Also sets the state's envelope name and layout area.
// `combined`, when given, is called once every project is combined, before
// the files are written: from then on the state changes only in its ordinates.
RunOutcome runEnvelope(EnvelopeState& state, const EnvelopeRequest& request, EnvelopeOutputs& outputs,
                       MessageSink& sink, const std::function<void(const EnvelopeState&)>& combined = {});

}  // namespace envelope
