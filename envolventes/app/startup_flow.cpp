#include "envolventes/app/startup_flow.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/format.h"
#include "envolventes/engine/line_reader.h"
#include "envolventes/engine/project_names.h"

namespace envelope {

using namespace common;

namespace {

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// One read of a list-file line: at most 98 characters, as the fixed buffer of
// the format allows; at end of file the buffer keeps what it held.
void readListLine(FILE* file, char (&line)[99]) {
  char fresh[sizeof line];
  if (std::fgets(fresh, sizeof fresh, file)) std::memcpy(line, fresh, sizeof line);
}

// Asks for an envelope name until one is given that Windows-1252 can hold and
// that is not a project's, or the person cancels. `name` is left in
// Windows-1252, as every name the suite writes.
bool askUsableName(StartupQuestions& questions, int kind, bool existing, std::string& name) {
  std::string typed;
  for (;;) {
    bool given = existing ? questions.askEnvelopeList(kind, typed) : questions.askEnvelopeName(typed);
    if (!given) return false;
    if (!utf8ToCp1252Exact(typed, name)) {
      questions.showMessage(unrepresentableNameRefusal());
      continue;
    }
    switch (checkEnvelopeName(name)) {
      case EnvelopeNameCheck::Usable:
        // An existing envelope keeps the name it was given.
        if (existing || envelopeNameFault(name).empty()) return true;
        questions.showMessage(envelopeNameFault(name));
        break;
      case EnvelopeNameCheck::Empty: questions.showMessage(emptyNameRefusal()); break;
      case EnvelopeNameCheck::ProjectName: questions.showMessage(projectNameRefusal(name)); break;
    }
  }
}

// The engine's messages reach the person through the same questions.
struct QuestionSink : MessageSink {
  explicit QuestionSink(StartupQuestions& q) : questions(q) {}
  void showMessage(const std::string& text) override { questions.showMessage(text); }
  StartupQuestions& questions;
};

// Makes NAME.res and NAME.esf aside, for the engine to fill, and creates
// NAME.dat for a new envelope (emptying an earlier list).
bool createEnvelopeFiles(StartupQuestions& questions, ViewerState& state, const std::string& name,
                         const std::string* listName) {
  state.closeEnvelopeFiles();
  QuestionSink sink(questions);
  if (!state.outputs.create(name, sink)) {
    state.closeEnvelopeFiles();
    return false;
  }
  if (!listName) return true;
  // A list file left open by an earlier run is closed before it is opened again.
  state.closeListFile();
  state.listFile = std::fopen(listName->c_str(), "w");
  if (!state.listFile) {
    state.closeEnvelopeFiles();
    questions.showMessage("ERROR DAT_ENVOLVENTE");
    return false;
  }
  return true;
}

// False, after a message naming the list file, when the list did not reach the
// disk: an envelope whose list is lost is not built.
bool selectProjects(StartupQuestions& questions, ViewerState& state, const std::string& listName) {
  state.projectCount = 0;
  std::string project;  // the dialog shows the last name chosen
  while (state.projectCount < kMaxEnvelopeProjects) {
    if (!questions.askProject(0, project)) break;
    state.projects[++state.projectCount] = project;
  }
  std::string list = common::formatText(" %d\n", state.projectCount);
  for (int k = 1; k <= state.projectCount; ++k) list += state.projects[k] + "\n";
  std::fwrite(list.data(), 1, list.size(), state.listFile);
  // The file stays open; flushing keeps the list safe on disk meanwhile.
  if (std::fflush(state.listFile) == 0 && !std::ferror(state.listFile)) return true;
  state.closeListFile();
  state.closeEnvelopeFiles();
  questions.showMessage(writeErrorText(listName));
  return false;
}

bool readProjectList(StartupQuestions& questions, ViewerState& state, const std::string& listName) {
  state.closeListFile();
  state.listFile = openInputFile(listName).release();
  if (!state.listFile) {
    state.closeEnvelopeFiles();
    questions.showMessage("error_archivo datos envolventes para leer");
    return false;
  }
  char line[99] = "";
  readListLine(state.listFile, line);
  int count = 0;
  if (std::sscanf(line, "%d", &count) != 1) count = 0;
  // The list holds at most 50 projects; a larger count must not run past it.
  if (count < 0) count = 0;
  if (count > kMaxEnvelopeProjects) count = kMaxEnvelopeProjects;

  char name[99] = "";
  for (int k = 1; k <= count; ++k) {
    readListLine(state.listFile, line);
    std::sscanf(line, "%98s", name);
    state.projects[k] = name;
    questions.showName(name);
  }
  state.projectCount = count;
  return true;
}

}  // namespace

ViewerState::~ViewerState() {
  closeEnvelopeFiles();
  closeListFile();
}

void ViewerState::closeEnvelopeFiles() {
  outputs.closeReport();
  outputs.closeForceTable();
  pending.discard();
}

void ViewerState::closeListFile() {
  if (listFile) std::fclose(listFile);
  listFile = nullptr;
}

FlowResult runStartupFlow(int diagramKind, StartupQuestions& questions, ViewerState& state) {
  int height = kDrawingHeight.preset, width = kDrawingWidth.preset;
  if (!questions.askScreenSize(diagramKind, height, width)) {
    height = kDrawingHeight.preset;
    width = kDrawingWidth.preset;
  }
  state.drawingHeight = height;
  state.drawingWidth = width;

  state.existing = questions.askExisting(diagramKind) ? 1 : 0;
  const bool existing = state.existing == 1;

  std::string name;
  if (!askUsableName(questions, diagramKind, existing, name)) return FlowResult::Ended;
  const std::string listName = fileOf(name, kModelExt);  // the viewer's own file, beside the engine's
  if (existing && !readProjectList(questions, state, listName)) return FlowResult::Ended;
  if (!createEnvelopeFiles(questions, state, name, existing ? nullptr : &listName)) {
    state.closeListFile();
    return FlowResult::Ended;
  }
  state.envelopeName = name;

  if (!existing && !selectProjects(questions, state, listName)) return FlowResult::Ended;
  return FlowResult::Ready;
}

std::vector<std::string> projectList(const ViewerState& state) {
  return std::vector<std::string>(state.projects.begin() + 1, state.projects.begin() + 1 + state.projectCount);
}

RunOutcome runViewerEnvelope(ViewerState& viewer, EnvelopeState& shown, MessageSink& sink) {
  EnvelopeRequest request;
  request.envelopeName = viewer.envelopeName;
  request.area = {viewer.drawingWidth, viewer.drawingHeight};
  request.projects = projectList(viewer);
  EnvelopeState next = shown;
  RunOutcome outcome = runEnvelope(next, request, viewer.outputs, sink);
  if (outcome == RunOutcome::Completed && !viewer.pending.commit()) {
    sink.showMessage(viewer.pending.failureText());
    outcome = RunOutcome::Stopped;
  }
  viewer.closeEnvelopeFiles();
  if (outcome == RunOutcome::Completed) shown = std::move(next);
  return outcome;
}

std::string projectNameRefusal(const std::string& name) {
  return "\"" + name + "\" es el nombre de un proyecto existente: sus archivos " + kResultsExt + " y " +
         kForceTableExt +
         " se vaciar\xED"
         "an.\nElija otro nombre para el fichero de envolventes.";
}

std::string unrepresentableNameRefusal() {
  return "El nombre del fichero de envolventes lleva caracteres que no caben en los ficheros (Windows-1252).\n"
         "Elija otro nombre.";
}

std::string emptyNameRefusal() {
  return "El nombre del fichero de envolventes no puede quedar vac\xEDo.\nEscriba un nombre.";
}

std::vector<std::string> listDatStems(const std::string& dir, int limit) {
  std::vector<std::string> stems;
  std::error_code ec;
  std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec), end;
  for (; !ec && it != end && static_cast<int>(stems.size()) < limit; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (!endsWith(file, kModelExt)) continue;
    std::error_code typeError;
    if (std::filesystem::is_directory(it->path(), typeError)) continue;
    stems.push_back(file.substr(0, file.find('.')));
  }
  return stems;
}

bool parseDialogInteger(const std::string& text, int& value) {
  size_t at = 0;
  auto blank = [&](size_t i) { return i < text.size() && (text[i] == ' ' || text[i] == '\t'); };
  while (blank(at)) ++at;
  size_t start = at;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  size_t digits = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  if (at == digits) return false;
  size_t stop = at;
  while (blank(at)) ++at;
  if (at != text.size()) return false;
  errno = 0;
  long long parsed = std::strtoll(text.substr(start, stop - start).c_str(), nullptr, 10);
  // Too many digits still reads as a number, one outside every range.
  if (parsed > INT_MAX) parsed = INT_MAX;
  if (parsed < INT_MIN) parsed = INT_MIN;
  value = static_cast<int>(parsed);
  return true;
}

std::string integerMessage() { return "Introduzca un n\xFAmero entero."; }

std::string rangeMessage(int low, int high) {
  std::string text = "Introduzca un n\xFAmero entero entre %1 y %2.";
  text = replaceAll(text, "%1", std::to_string(low));
  return replaceAll(text, "%2", std::to_string(high));
}

std::string lengthMessage(int limit) {
  return replaceAll("No introduzca m\xE1s de %1 caracteres.", "%1", std::to_string(limit));
}

int diagramKindFromCommandLine(const std::string& commandLine) {
  std::vector<char> word(commandLine.size() + 1);
  int kind = 0;
  if (std::sscanf(commandLine.c_str(), "%s %d", word.data(), &kind) != 2) return 0;
  return kind;
}

}  // namespace envelope
