#pragma once
// Everything one report shows, read from the project's files before anything
// is written.
#include <optional>
#include <string>
#include <vector>

#include "calcest/elastic_curve.h"
#include "common/file_names.h"
#include "calcest/static_solution.h"
#include "projectfiles/analysis.h"
#include "projectfiles/model_input.h"
#include "projectfiles/modes_file.h"
#include "projectfiles/result_files.h"
#include "informe/design.h"

namespace informe {

// Which file a value of the page or of a picture comes from, as its data
// attributes name it: the file's extension without the dot.
inline constexpr const char* kFromModel = common::kModelExt + 1;
inline constexpr const char* kFromLoads = common::kLoadsExt + 1;
inline constexpr const char* kFromResults = common::kResultsExt + 1;
inline constexpr const char* kFromDiagram = common::kDiagramExt + 1;

// The project's files as read and checked by their own library.
using projectfiles::analyseProject;
using projectfiles::barCurves;
using projectfiles::BarLoad;
using projectfiles::checkDiagramFile;
using projectfiles::checkDirectionsFitModel;
using projectfiles::checkResultsFile;
using projectfiles::DiagramFile;
using projectfiles::FmcPoint;
using projectfiles::LoadOnBar;
using projectfiles::Mode;
using projectfiles::Model;
using projectfiles::ModesFile;
using projectfiles::NodeMotion;
using projectfiles::readDiagramFile;
using projectfiles::readModel;
using projectfiles::readModesFile;
using projectfiles::readResultsFile;
using projectfiles::ResBar;
using projectfiles::ResSupport;
using projectfiles::ResTieEnd;
using projectfiles::ResultsFile;
using projectfiles::ResultsShape;
using projectfiles::resultsShapeOf;
using projectfiles::SourceValue;
using projectfiles::TokenFile;
using projectfiles::UnitLabels;
using projectfiles::unitLabels;

struct ReportData {
  std::string project;  // base name of the files
  Model model;
  ResultsFile res;
  DiagramFile fmc;
  calcest::StaticSolution solution;           // the analysis the files were checked against
  std::vector<calcest::ElasticCurve> curves;  // each bar's true line in it, bar i at i - 1
  std::optional<ModesFile> modes;
  std::string modesFileName;
  std::optional<DesignFiles> design;  // armado's, when PROJECT.arm is there
};

// The markup attributes that say where a value of a results file came from.
std::string sourceAttributes(const char* file, const SourceValue& value);

}  // namespace informe
