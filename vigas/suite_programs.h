#pragma once
// The suite's other programs as the window runs them on a saved beam: calcdin
// after calcest (the beam's modes), informe and Webrix (the report of the
// project), alternancias (the envelope of the load cases, each taken as
// permanent or variable). Their command lines are built here, and each run
// comes back as what to show: the results, or the program's own text.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "armado/design.h"
#include "envolventes/engine/envelope_state.h"
#include "vigas/document.h"

namespace vigas {

// A program's printed text without its call to press a key (nobody is there
// to press one: its stdin is empty) and without blank lines.
std::string printedText(const std::string& printed);

// ---- running them.

// Runs a fellow program of the suite (fellowProgram(name)) in `folder` with the
// files' character set; the status and what it printed, or why it did not run
// in `error`.
struct Outcome {
  bool ok = false;
  std::string output, error;
};
Outcome runFellow(const std::string& name, std::vector<std::string> args, const std::string& folder);

// ---- calcdin: its elimination options (how supports are treated).
struct ModesOption {
  int option;
  const char* label;  // for the menu, Windows-1252
};
inline constexpr ModesOption kModesOptions[] = {{0, "sin las direcciones de los apoyos (muelles verticales libres)"},
                                                {1, "estructura libre, todas las direcciones"},
                                                {2, "sin las direcciones de los apoyos, muelles verticales incluidos"}};

struct ModeRow {
  int order = 0;                                     // by ascending eigenvalue, from 1
  double eigenvalue = 0, frequency = 0, period = 0;  // period 0 for a mode that does not vibrate
  std::string eigenvalueText, frequencyText;         // as calcdin wrote them
};

// What calcdin gave: its modes by ascending eigenvalue, or its text.
struct ModesRun {
  int option = 0;
  std::string error;
  std::vector<ModeRow> modes;
  std::string modesFile;  // the file the modes were read from
};

// Runs calcdin (fellowProgram("calcdin")) on the first case's files in their
// folder, which calcest has just analysed, and reads its modes file with the
// suite's reader. The modes are the beam's, the same in every case: the loads
// do not enter them.
ModesRun runModes(const std::string& project, int option, int nodeCount);

// ---- informe (its page is shown with common::showPage).
std::vector<std::string> informeCommandLine(const std::string& project, const std::string& modesFile = "");

// Runs informe on the project (the first case), with the modes file when
// there is one; "" when its page was written, else its text.
std::string runReport(const std::string& project, const std::string& modesFile);

// ---- alternancias.
enum class CaseRole { unused, permanent, variable };

struct EnvelopeChoice {
  std::vector<CaseRole> roles;              // one per load case
  double gG = 1.35, gGinf = 1.0, gQ = 1.5;  // alternancias' factors
};

// The first case permanent and the others variable.
EnvelopeChoice presetEnvelopeChoice(const Content& content);

// Why alternancias cannot take the choice ("" when it can): a role for every
// case, at least one variable case, every factor above 0 and at most 100.
std::string envelopeChoiceFault(const EnvelopeChoice& choice, const Content& content);

// The loads of the cases with the role, one after the other, as a loads file.
std::string loadsOfRole(const Content& content, const EnvelopeChoice& choice, CaseRole role);

// The envelope's name beside the project: its name, letters, digits, '_' and
// '-' kept, others as '_', then "-envolvente" (no case's files are so named).
std::string envelopeName(const std::string& modelPath);

std::vector<std::string> alternanciasCommandLine(const std::string& name, const std::string& model,
                                                 const std::string& permanentLoads, const std::string& variableLoads,
                                                 const EnvelopeChoice& choice);

struct EnvelopeRun {
  std::string error;                  // why there is no envelope: the choice, the save, or alternancias' text
  std::string name;                   // the envelope's files: folder/NAME + suffix
  std::string summary;                // alternancias' summary as it printed it
  std::vector<std::string> pictures;  // its deflection, moment and shear pictures
  // The same envelope made in memory from the same files, for the window to draw.
  std::shared_ptr<const envelope::EnvelopeState> state;
};

// Saves the beam and runs alternancias (fellowProgram("alternancias")) in its
// folder on the model, the permanent cases' loads and the variable ones'
// (one case's own file, or the cases' loads together in a file of a
// temporary folder, removed after the run).
EnvelopeRun runEnvelope(Document& document, const EnvelopeChoice& choice);

// ---- armado.
// The design's name beside the project: the project's own (letters, digits,
// '_' and '-' kept, others as '_'), so that its report shows the design.
std::string designName(const std::string& modelPath);

std::vector<std::string> armadoCommandLine(const std::string& name, const std::string& model,
                                           const std::string& permanentLoads, const std::string& variableLoads,
                                           const EnvelopeChoice& choice, const armado::DesignData& data);

struct DesignRun {
  std::string error;                             // why there is no design: the choice, the save, or armado's text
  std::string name;                              // the design's files: folder/NAME + suffix
  std::string summary;                           // armado's summary as it printed it
  std::shared_ptr<const armado::Design> design;  // the same design, made in memory, for the drawing
};

// Saves the beam and runs armado (fellowProgram("armado")) in its folder on
// the model and the loads of the cases of each role, as runEnvelope does;
// then makes the same design in memory from the same files.
DesignRun runDesign(Document& document, const EnvelopeChoice& choice, armado::DesignData data);

}  // namespace vigas
