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
// (cm2/m); V_Rd (kN); cot theta. Then the serviceability: the
// characteristic, frequent and quasi-permanent moments (kN m); the largest
// stresses of the concrete and of the bars under the characteristic
// combination and of the concrete under the quasi-permanent one (MPa); the
// crack widths at the bottom and at the top (mm); the long-term curvature
// (1/km); the elastic and the long-term deflection (mm, upward positive).
enum DesignColumn {
  kDesignX,
  kDesignMEdMax,
  kDesignMEdMin,
  kDesignBottomNeeded,
  kDesignTopNeeded,
  kDesignBottomLaid,
  kDesignTopLaid,
  kDesignMRdPositive,
  kDesignMRdNegative,
  kDesignVEd,
  kDesignStirrupsNeeded,
  kDesignStirrupsLaid,
  kDesignVRd,
  kDesignCotTheta,
  kDesignMkMax,
  kDesignMkMin,
  kDesignMfrMax,
  kDesignMfrMin,
  kDesignMqpMax,
  kDesignMqpMin,
  kDesignConcreteStress,
  kDesignSteelStress,
  kDesignConcreteStressQp,
  kDesignCrackBottom,
  kDesignCrackTop,
  kDesignCurvature,
  kDesignElasticDeflection,
  kDesignLongTermDeflection,
  kDesignColumnCount
};
// The columns of a table written before the serviceability was added.
inline constexpr int kDesignStrengthColumns = kDesignMkMax;
inline constexpr int kDesignHeadingLines = 3;

using DesignRow = std::array<double, kDesignColumnCount>;

// The third heading line: the columns' names, aligned over them.
std::string designColumnsHeading();
// A column's name as the heading gives it, and its decimals.
const char* designColumnName(int column);
int designColumnDecimals(int column);
// One line of the table.
std::string designRowText(const DesignRow& row);

// The rows of a table's text: every line with all the columns, or every one
// with the strength columns alone (a table of before; the serviceability
// columns are then 0 and `serviceability` false). Throws RunError naming
// `path` when a line after the headings does not begin with the columns'
// numbers.
struct DesignTable {
  std::vector<DesignRow> rows;
  bool serviceability = false;
};
DesignTable readDesignTable(const std::string& text, const std::string& path);

}  // namespace common
