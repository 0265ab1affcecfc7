#pragma once
// The reinforcement armado designed for the project, when it is there: the
// report shows its drawing, its schedule and its table.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/design_table.h"
#include "informe/design_curves.h"
#include "projectfiles/model_input.h"

namespace informe {

struct DesignFiles {
  std::string table, schedule, picture;  // the files' names
  std::vector<common::DesignRow> rows;   // one per station of the model
  bool serviceability = false;           // the rows have the serviceability columns
  std::vector<double> supports;          // x (m) of the supports that hold the beam up
  std::string scheduleText;              // Windows-1252
  std::string svg;                       // the drawing's <svg> element
};

// PROJECT.arm, PROJECT.des and PROJECTa.svg when PROJECT.arm exists, else
// nothing. Throws RunError naming the file that is missing, damaged, or of
// another model (its stations are not the model's).
std::optional<DesignFiles> readDesign(const std::string& project, const projectfiles::Model& model);

// The serviceability curves of a table that has them.
ServiceCurves serviceCurvesOf(const DesignFiles& design);

// The page's section `number` showing the design.
void designSection(std::ostream& out, const DesignFiles& design, int number);

}  // namespace informe
