#pragma once
// Everything one report shows, read from the project's files before anything
// is written.
#include <optional>
#include <string>
#include <vector>

#include "elastic_curve.h"
#include "model_input.h"
#include "modes_file.h"
#include "result_files.h"
#include "static_solution.h"

namespace informe {

struct ReportData {
  std::string project;  // base name of the files
  Model model;
  ResultsFile res;
  DiagramFile fmc;
  calcest::StaticSolution solution;  // the analysis the files were checked against
  std::vector<calcest::ElasticCurve> curves;  // each bar's true line in it, bar i at i - 1
  std::optional<ModesFile> modes;
  std::string modesFileName;
};

// The markup attributes that say where a value of a results file came from.
std::string sourceAttributes(const char* file, const SourceValue& value);

}  // namespace informe
