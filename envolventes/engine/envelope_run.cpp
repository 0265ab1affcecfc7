#include "envolventes/engine/envelope_run.h"

#include "common/file_names.h"
#include "envolventes/engine/accumulate.h"
#include "envolventes/engine/layout.h"
#include "envolventes/engine/project_reader.h"
#include "envolventes/engine/result_files.h"

namespace envelope {

using namespace common;

const char* const kSelectionErrorText = "ERROR EN SELECCION DE PROYECTOS";

bool EnvelopeOutputs::create(const std::string& envelopeName, MessageSink& sink) {
  closeReport();
  closeForceTable();
  reportName_ = fileOf(envelopeName, kResultsExt);
  forceTableName_ = fileOf(envelopeName, kForceTableExt);
  report_ = files_.create(reportName_);
  if (!report_) {
    sink.showMessage("ERROR RES_ENVOLVENTE");
    return false;
  }
  forceTable_ = files_.create(forceTableName_);
  if (!forceTable_) {
    sink.showMessage("ERROR ESF_ENVOLVENTE");
    return false;
  }
  return true;
}

void EnvelopeOutputs::closeReport() {
  files_.abandon(report_);
  report_ = nullptr;
}

void EnvelopeOutputs::closeForceTable() {
  files_.abandon(forceTable_);
  forceTable_ = nullptr;
}

bool EnvelopeOutputs::finishReport(MessageSink& sink) {
  FILE* file = report_;
  report_ = nullptr;
  return files_.finish(file, reportName_, sink);
}

bool EnvelopeOutputs::finishForceTable(MessageSink& sink) {
  FILE* file = forceTable_;
  forceTable_ = nullptr;
  return files_.finish(file, forceTableName_, sink);
}

RunOutcome runEnvelope(EnvelopeState& state, const EnvelopeRequest& request, EnvelopeOutputs& outputs,
                       MessageSink& sink) {
  state.setEnvelopeName(request.envelopeName);
  DiagramLayout& layout = state.layout;
  layout.areaWidth = request.area.width;
  layout.areaHeight = request.area.height;
  layout.beamPixels = beamPixelsFor(request.area.width);
  layout.axisY = axisYFor(request.area.height);
  layout.labelY = labelYFor(request.area.height);

  ProjectTables project;
  ForceTableEnvelope forceTable;
  for (size_t k = 0; k < request.projects.size(); ++k) {
    ReadStep step = readProject(request.projects[k], k == 0, state, project, sink);
    if (step == ReadStep::SelectionError) return RunOutcome::SelectionError;
    if (step == ReadStep::Stopped) return RunOutcome::Stopped;
    forceTable.add(project, fileOf(request.projects[k], kForceTableExt));
    combineResultRecords(state, project);
    computeProjectScales(state, project);
    computeLayout(project, request.area.width, request.area.height, state.layout);
    combinePointEnvelopes(state, project);
    state.lastPoint = project.lastPoint;
    state.forceTableLastIndex = project.forceTableLastIndex;
    state.current = std::move(project);
  }

  if (!outputs.forceTable() || !outputs.report()) return RunOutcome::Stopped;
  if (forceTable.write(state.forceTableLastIndex, outputs.forceTable(), sink) == ForceTableStep::Stopped)
    return RunOutcome::Stopped;
  if (!outputs.finishForceTable(sink)) return RunOutcome::Stopped;
  computeOrdinates(state);
  writeReport(state, outputs.report());
  return outputs.finishReport(sink) ? RunOutcome::Completed : RunOutcome::Stopped;
}

}  // namespace envelope
