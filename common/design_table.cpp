#include "common/design_table.h"

#include "common/decimal_text.h"
#include "common/format.h"
#include "common/run_error.h"

namespace common {

namespace {
// Width and decimals of each column.
constexpr struct {
  const char* name;
  int width, decimals;
} kColumns[kDesignColumnCount] = {{"x", 8, 3},        {"MEd,max", 10, 2}, {"MEd,min", 10, 2},  {"As,i,nec", 9, 2},
                                  {"As,s,nec", 9, 2}, {"As,i", 9, 2},     {"As,s", 9, 2},      {"MRd,pos", 10, 2},
                                  {"MRd,neg", 10, 2}, {"VEd", 9, 2},      {"Asw/s,nec", 9, 2}, {"Asw/s", 9, 2},
                                  {"VRd", 9, 2},      {"cot", 5, 2},      {"Mk,max", 10, 2},   {"Mk,min", 10, 2},
                                  {"Mfr,max", 10, 2}, {"Mfr,min", 10, 2}, {"Mcp,max", 10, 2},  {"Mcp,min", 10, 2},
                                  {"sc,car", 8, 2},   {"ss,car", 8, 2},   {"sc,cp", 8, 2},     {"wk,i", 7, 3},
                                  {"wk,s", 7, 3},     {"1/r", 9, 4},      {"f,el", 8, 2},      {"f,dif", 8, 2}};
}  // namespace

std::string designColumnsHeading() {
  TextBuffer out;
  for (int c = 0; c < kDesignColumnCount; ++c)
    appendFormat(out, "%s%*s", c ? " " : "", kColumns[c].width, kColumns[c].name);
  appendFormat(out, "\n");
  return out.str();
}

const char* designColumnName(int column) { return kColumns[column].name; }

int designColumnDecimals(int column) { return kColumns[column].decimals; }

std::string designRowText(const DesignRow& row) {
  TextBuffer out;
  for (int c = 0; c < kDesignColumnCount; ++c) {
    if (c) appendFormat(out, " ");
    appendFixed(out, row[c], kColumns[c].decimals, kColumns[c].width);
  }
  appendFormat(out, "\n");
  return out.str();
}

DesignTable readDesignTable(const std::string& text, const std::string& path) {
  DesignTable table;
  size_t at = 0;
  for (int line = 1; at < text.size(); ++line) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string whole = text.substr(at, end - at);
    at = end + 1;
    if (line <= kDesignHeadingLines) continue;
    DesignRow row{};
    size_t pos = 0;
    int read = 0;
    for (; read < kDesignColumnCount; ++read) {
      while (pos < whole.size() && (whole[pos] == ' ' || whole[pos] == '\r' || whole[pos] == '\t')) ++pos;
      size_t stop = pos;
      while (stop < whole.size() && whole[stop] != ' ' && whole[stop] != '\r' && whole[stop] != '\t') ++stop;
      if (stop == pos || !readNumber(whole.data() + pos, whole.data() + stop, row[read])) break;
      pos = stop;
    }
    const bool all = read == kDesignColumnCount;
    const bool same = table.rows.empty() || all == table.serviceability;
    if ((read != kDesignStrengthColumns && !all) || !same)
      throw RunError(
          formatText("ERROR EN EL FICHERO %s: LA L\xCDNEA %d NO ES UNA FILA DEL ARMADO\n", path.c_str(), line));
    table.serviceability = all;
    table.rows.push_back(row);
  }
  return table;
}

}  // namespace common
