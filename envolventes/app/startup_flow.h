#pragma once
// The viewer's start-up flow: the sequence of questions that fixes the drawing
// area, the envelope name and the project list, and creates the envelope's
// files. It knows nothing of the window toolkit: it asks through
// StartupQuestions, which the wx dialogs implement and the tests script.
#include <cstdio>
#include <string>
#include <vector>

#include "envolventes/engine/envelope_run.h"

namespace envelope {

constexpr int kMaxListedFiles = 1500;

// Program-wide state fixed by the flow and read by the engine and the view.
struct ViewerState {
  ViewerState() = default;
  ViewerState(const ViewerState&) = delete;
  ViewerState& operator=(const ViewerState&) = delete;
  ~ViewerState();

  int drawingWidth = common::kDrawingWidth.preset;
  int drawingHeight = common::kDrawingHeight.preset;
  int existing = 0;
  // The one name the viewer keeps: the stem of the envelope whose files were
  // created last. The engine forms NAME.res, NAME.esf and the script names
  // from it; empty until a run got that far (names are never empty).
  std::string envelopeName;

  // NAME.res and NAME.esf, made aside by the flow and filled by the engine;
  // they take their names only when the whole envelope is written.
  common::PendingFiles pending;
  EnvelopeOutputs outputs{OutputFiles(pending)};
  FILE* listFile = nullptr;  // NAME.dat; stays open until the next run or the end

  // Slots 1..projectCount used, slot 0 unused.
  std::vector<std::string> projects = std::vector<std::string>(common::kMaxEnvelopeProjects + 1);
  int projectCount = 0;

  void closeEnvelopeFiles();  // the .res and .esf files, when the engine will not run
  void closeListFile();
};

// Everything the flow asks the person in front of the screen. Texts passed to
// showMessage are Windows-1252 bytes.
class StartupQuestions {
 public:
  virtual ~StartupQuestions() = default;
  // Height and width come preset; false = cancelled (the presets stay).
  virtual bool askScreenSize(int banner, int& height, int& width) = 0;
  // True for "Existente", false for "Nuevo" (also Esc and the close box).
  virtual bool askExisting(int banner) = 0;
  // Name of a new envelope, as typed (UTF-8); false = cancelled.
  virtual bool askEnvelopeName(std::string& name) = 0;
  // Name of an existing envelope, chosen from the *.dat list or typed (UTF-8); false = cancelled.
  virtual bool askEnvelopeList(int banner, std::string& name) = 0;
  // Next project to add; false = "Finaliza selección", Esc or close box.
  virtual bool askProject(int banner, std::string& name) = 0;
  // Shows one project name read back from an envelope list file.
  virtual void showName(const std::string& name) = 0;
  virtual void showMessage(const std::string& text) = 0;
};

enum class FlowResult {
  Ready,  // the project list is known: hand over to the engine
  Ended,  // cancelled or failed; nothing to compute
};

// Runs the flow for the diagram kind of the command line. Every file is
// looked up by bare name in the working directory.
FlowResult runStartupFlow(int diagramKind, StartupQuestions& questions, ViewerState& state);

// The project list as the engine takes it (slots 1..count).
std::vector<std::string> projectList(const ViewerState& state);

// Computes the envelope the flow made ready, combined with what `shown` holds,
// into a copy of it. Only a complete envelope takes the place of `shown`, and
// its files take their names together; a run that stops (a project refused, a
// file not written) leaves the drawing, its scripts and the earlier files of
// the envelope as they were.
RunOutcome runViewerEnvelope(ViewerState& viewer, EnvelopeState& shown, MessageSink& sink);

// --- pieces shared with the dialogs, kept here so they can be tested ---

// Messages (Windows-1252) shown when an envelope name is a project's, or empty.
std::string projectNameRefusal(const std::string& name);
std::string emptyNameRefusal();
std::string unrepresentableNameRefusal();

// Stems (part before the first '.') of the files matching "*.dat" in `dir`,
// in directory order, at most `limit` of them.
std::vector<std::string> listDatStems(const std::string& dir, int limit = kMaxListedFiles);

// Integer field of a dialog: blanks around an optional sign and digits, and
// nothing else. False when the text is not such an integer.
bool parseDialogInteger(const std::string& text, int& value);

// The validation messages of the dialogs (Windows-1252).
std::string integerMessage();
std::string rangeMessage(int low, int high);
std::string lengthMessage(int limit);

// Parses the command line (the part after the program name) with "%s %d";
// returns the diagram kind, or 0 when there is none.
int diagramKindFromCommandLine(const std::string& commandLine);

}  // namespace envelope
