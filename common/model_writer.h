#pragma once
// The model file and the loads file written from what the reader keeps: the
// mirror of ModelReader and of the loads reader. Every real is written with the
// fewest digits that read back as the same double, so a file read and written
// again gives the engines the very same numbers. The text is what the reader
// reads (Windows-1252 bytes as the model holds them).
#include <string>
#include <vector>

#include "common/bar_load.h"
#include "common/model.h"

namespace common {

// The shortest text of `value` that reads back as the same double.
std::string exactReal(double value);

// The model file of `model`, in the reader's order: title line, counts (taken
// from the tables' sizes), nodes as the table holds them, bars with their two
// lines, sections, materials, supports with the values their code takes (an
// angle in degrees, as given), ties and nodal loads (by node label).
std::string modelText(const ModelData& model);

// The loads file: one line `BAR TYPE a c b q DIR` per load, in order.
std::string loadsText(const std::vector<BarLoad>& loads);

}  // namespace common
