#pragma once
// The layout of armado's design table NAME.arm, shared by the program that
// writes it and the ones that read it: three heading lines, then one line per
// station of fixed columns. Later columns may follow at the right of a line;
// a reader takes the ones it knows.
#include <array>
#include <string>
#include <vector>

namespace common {

// x (m); the envelope's moments (kN m); steel needed and laid, bottom and top
// (cm2); M_Rd sagging and hogging (kN m); V_Ed (kN); Asw/s needed and laid
// (cm2/m); V_Rd (kN); cot theta.
enum DesignColumn {
  kDesignX, kDesignMEdMax, kDesignMEdMin, kDesignBottomNeeded, kDesignTopNeeded, kDesignBottomLaid, kDesignTopLaid,
  kDesignMRdPositive, kDesignMRdNegative, kDesignVEd, kDesignStirrupsNeeded, kDesignStirrupsLaid, kDesignVRd,
  kDesignCotTheta, kDesignColumnCount
};
inline constexpr int kDesignHeadingLines = 3;

using DesignRow = std::array<double, kDesignColumnCount>;

// The third heading line: the columns' names, aligned over them.
std::string designColumnsHeading();
// One line of the table.
std::string designRowText(const DesignRow& row);

// The rows of a table's text. Throws RunError naming `path` when a line
// after the headings does not begin with the columns' numbers.
std::vector<DesignRow> readDesignTable(const std::string& text, const std::string& path);

}  // namespace common
