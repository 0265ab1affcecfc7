#pragma once
// The project's analysis done again in memory, at full precision: the pictures
// draw each bar's true line from it (the diagram file's deflection leaves out
// the loads between the nodes). It is checked against the files calcest wrote,
// so that the pictures and the tables tell the same analysis.
#include <string>
#include <vector>

#include "calcest/elastic_curve.h"
#include "projectfiles/model_input.h"
#include "projectfiles/result_files.h"
#include "calcest/static_solution.h"

namespace projectfiles {

// The model with all its loads (its own weight where the model's switch says
// so). Throws RunError naming the model and loads files where calcest stops.
calcest::StaticSolution analyseProject(const Model& model, const std::string& project);

// What every bar does between its nodes in that analysis, bar i at i - 1.
std::vector<calcest::ElasticCurve> barCurves(const Model& model, const calcest::StaticSolution& solution);

// Node deflections, bar end moments and shears and support reactions of the
// results file; moments and shears of the diagram file's points. A value that
// differs from the analysis by more than the file's rounding is refused with
// a RunError naming the file.
void checkResultsFile(const Model& model, const calcest::StaticSolution& solution, const ResultsFile& res,
                      const std::string& project);
void checkDiagramFile(const Model& model, const std::vector<calcest::ElasticCurve>& curves, const DiagramFile& fmc,
                      const std::string& project);

}  // namespace projectfiles
