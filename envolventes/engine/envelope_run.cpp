#include "envelope_run.h"

namespace envelope {

const char* const kSelectionErrorText = "ERROR EN SELECCION DE PROYECTOS";

bool EnvelopeOutputs::create(const std::string& envelopeName, MessageSink& sink) {
  report_.reset(std::fopen((envelopeName + ".res").c_str(), "w"));
  if (!report_) {
    sink.showMessage("ERROR RES_ENVOLVENTE");
    return false;
  }
  forceTable_.reset(std::fopen((envelopeName + ".esf").c_str(), "w"));
  if (!forceTable_) {
    sink.showMessage("ERROR ESF_ENVOLVENTE");
    return false;
  }
  return true;
}

RunOutcome runEnvelope(EnvelopeState& state, const EnvelopeRequest& request, EnvelopeOutputs& outputs,
                       MessageSink& sink) {
  state.setEnvelopeName(request.envelopeName);
  return RunOutcome::Stopped;  // project reading not wired in yet
}

}  // namespace envelope
