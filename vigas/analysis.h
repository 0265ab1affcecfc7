#pragma once
// The analysis of a beam for the window. F5 saves the beam, runs calcest on
// every load case's files (the results other programs read: PROJECT.res,
// .fmc, .bar and the side files for the first case, PROJECT_NAME.res ... for
// a further case NAME), and gives the window each case's results from the
// same analysis done in memory: the case's files as saved, read by the
// engine's own readers and solved by calcest::solveStatic.
#include <optional>
#include <string>
#include <vector>

#include "calcest/elastic_curve.h"
#include "projectfiles/model_input.h"
#include "vigas/beam_modes.h"
#include "vigas/document.h"
#include "vigas/suite_programs.h"

namespace vigas {

struct NodeDisplacement {
  int label = 0;
  double x = 0, y = 0;
  double ux = 0, uy = 0, rotation = 0;  // unscaled, in the model's units
};

struct SupportReaction {
  int nodeLabel = 0, code = 0;
  // As calcest reports them: Rx, Ry the forces on the beam (rightward and
  // upward positive); M with the sign of the turn the support holds back, the
  // opposite of the moment it puts on the beam (a fixed end under a downward
  // load gives M < 0).
  double Rx = 0, Ry = 0, M = 0;
};

struct CaseResults {
  std::string name;
  std::string project;                        // base name of the case's files
  std::string error;                          // the engine's text when it refuses the case; then nothing below
  std::vector<NodeDisplacement> nodes;        // in label order
  std::vector<SupportReaction> reactions;     // in the order of the supports table
  projectfiles::Model model;                  // the case as the engine read it (bars placed, nodes in label order)
  std::vector<calcest::ElasticCurve> curves;  // bar i's true line at i - 1
};

// One case analysed in memory, exactly as calcest analyses its saved files.
// The content must have no errors.
CaseResults analyseCase(const Content& content, int loadCase, const std::string& project = "");

// The beam's lowest frequencies the results show.
inline constexpr int kBeamModesShown = 6;

struct AnalysisRun {
  std::string error;  // why nothing was analysed (errors in the model, no calcest, a failed save)
  std::vector<CaseResults> cases;
  std::optional<ModesRun> modes;       // when calcdin was asked for: the model's own modes
  std::optional<BeamModes> beamModes;  // and then the beam's (its model refined), when those were found
};

// What F5 does: save (the document must have a file name and no errors), run
// calcest (fellowProgram("calcest")) on each case's files in their folder,
// then the in-memory results. A case calcest refuses carries calcest's
// message, without its call to press a key. With a modes option, calcdin then
// runs with it on the first case when calcest analysed that one, and on
// refined copies of the beam for the beam's own kBeamModesShown lowest
// frequencies.
AnalysisRun saveAndAnalyse(Document& document, std::optional<int> modesOption = std::nullopt);

}  // namespace vigas
