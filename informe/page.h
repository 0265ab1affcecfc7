#pragma once
// The report page: one self-contained HTML document (inline CSS and SVG) with
// the model, the results and, when given, the modes.
#include <ostream>
#include <string>
#include <vector>

#include "informe/report_data.h"

namespace informe {

struct Picture {
  std::string fileName;  // the separate SVG file of the same picture
  std::string heading;
  std::string svg;         // inline form
  std::string standalone;  // the SVG file
};

// Writes the page to `out` as it is made (its tables hold every load of the
// loads file); `pictures` are shown in their order within their sections: the
// model first, then the three diagrams, then the modes.
void writeReportPage(std::ostream& out, const ReportData& data, const std::vector<Picture>& pictures);

}  // namespace informe
