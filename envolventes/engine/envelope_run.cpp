#include "envolventes/engine/envelope_run.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

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

namespace {

// The projects after the first, read on a second thread while this one reads
// the first and combines, and by this one while it waits. Each is read into its
// own tables with its messages kept, and taken in project order: the messages
// are shown, and a failure thrown, where reading them one by one would. The
// first project sets the counts the others are checked against (only read by
// the others): a project read ahead waits for them before it looks at them. A
// project read beyond the one where the run stops is dropped unseen.
class ReadAhead {
 public:
  struct Reading {
    ProjectTables tables;
    RecordingMessageSink messages;
    ReadStep step = ReadStep::Stopped;
    std::exception_ptr failure;
  };

  ReadAhead(const std::vector<std::string>& projects, EnvelopeState& state)
      : projects_(projects), state_(state), readings_(projects.size()) {
    if (projects.size() < 2) return;  // no project after the first
    try {
      worker_ = std::thread([this] { work(); });
    } catch (const std::system_error&) {
      // No second thread: every project is read here as it is taken.
    }
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;
  ~ReadAhead() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
  }

  // The first project is read: its counts are set (or it was refused).
  void referencesSet() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      referencesSet_ = true;
    }
    changed_.notify_all();
  }

  // Project k (k >= 1) once read; the projects before it have been taken.
  std::unique_ptr<Reading> take(size_t k) {
    std::unique_lock<std::mutex> lock(mutex_);
    taken_ = k;
    changed_.notify_all();
    while (!readings_[k]) {
      if (next_ <= k + kAhead && next_ < projects_.size())
        readOne(lock);
      else
        changed_.wait(lock);
    }
    return std::move(readings_[k]);
  }

 private:
  static constexpr size_t kAhead = 3;  // projects read beyond the one being combined

  void work() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_ && next_ < projects_.size()) {
      if (next_ <= taken_ + kAhead)
        readOne(lock);
      else
        changed_.wait(lock);
    }
  }

  // Reads the next project not yet claimed, with the lock released meanwhile.
  void readOne(std::unique_lock<std::mutex>& lock) {
    const size_t k = next_++;
    lock.unlock();
    auto reading = std::make_unique<Reading>();
    try {
      reading->step = readProject(projects_[k], false, state_, reading->tables, reading->messages, [this] {
        std::unique_lock<std::mutex> wait(mutex_);
        changed_.wait(wait, [this] { return referencesSet_ || stop_; });
      });
    } catch (...) {
      reading->failure = std::current_exception();
    }
    lock.lock();
    readings_[k] = std::move(reading);
    changed_.notify_all();
  }

  const std::vector<std::string>& projects_;
  EnvelopeState& state_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::unique_ptr<Reading>> readings_;
  size_t next_ = 1, taken_ = 1;
  bool stop_ = false, referencesSet_ = false;
  std::thread worker_;
};

}  // namespace

RunOutcome runEnvelope(EnvelopeState& state, const EnvelopeRequest& request, EnvelopeOutputs& outputs,
                       MessageSink& sink, const std::function<void(const EnvelopeState&)>& combined) {
  state.setEnvelopeName(request.envelopeName);
  DiagramLayout& layout = state.layout;
  layout.areaWidth = request.area.width;
  layout.areaHeight = request.area.height;
  layout.beamPixels = beamPixelsFor(request.area.width);
  layout.axisY = axisYFor(request.area.height);
  layout.labelY = labelYFor(request.area.height);

  ProjectTables project;
  ForceTableEnvelope forceTable;
  // Reading ahead starts with the first project; a run that stops there drops it.
  std::unique_ptr<ReadAhead> ahead;
  if (request.projects.size() > 1) ahead = std::make_unique<ReadAhead>(request.projects, state);
  for (size_t k = 0; k < request.projects.size(); ++k) {
    ReadStep step;
    if (k == 0) {
      step = readProject(request.projects[k], true, state, project, sink);
      if (ahead) ahead->referencesSet();
    } else {
      std::unique_ptr<ReadAhead::Reading> reading = ahead->take(k);
      for (const std::string& message : reading->messages.messages) sink.showMessage(message);
      if (reading->failure) std::rethrow_exception(reading->failure);
      step = reading->step;
      project = std::move(reading->tables);
    }
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
  if (combined) combined(state);
  if (forceTable.write(state.forceTableLastIndex, outputs.forceTable(), sink) == ForceTableStep::Stopped)
    return RunOutcome::Stopped;
  if (!outputs.finishForceTable(sink)) return RunOutcome::Stopped;
  computeOrdinates(state);
  writeReport(state, outputs.report());
  return outputs.finishReport(sink) ? RunOutcome::Completed : RunOutcome::Stopped;
}

}  // namespace envelope
