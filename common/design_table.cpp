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
} kColumns[kDesignColumnCount] = {
    {"x", 8, 3},          {"MEd,max", 10, 2}, {"MEd,min", 10, 2},  {"As,i,nec", 9, 2},  {"As,s,nec", 9, 2},
    {"As,i", 9, 2},       {"As,s", 9, 2},     {"MRd,pos", 10, 2},  {"MRd,neg", 10, 2},  {"VEd", 9, 2},
    {"Asw/s,nec", 9, 2},  {"Asw/s", 9, 2},    {"VRd", 9, 2},       {"cot", 5, 2}};
}  // namespace

std::string designColumnsHeading() {
  TextBuffer out;
  for (int c = 0; c < kDesignColumnCount; ++c) appendFormat(out, "%s%*s", c ? " " : "", kColumns[c].width, kColumns[c].name);
  appendFormat(out, "\n");
  return out.str();
}

std::string designRowText(const DesignRow& row) {
  TextBuffer out;
  for (int c = 0; c < kDesignColumnCount; ++c) {
    if (c) appendFormat(out, " ");
    appendFixed(out, row[c], kColumns[c].decimals, kColumns[c].width);
  }
  appendFormat(out, "\n");
  return out.str();
}

std::vector<DesignRow> readDesignTable(const std::string& text, const std::string& path) {
  std::vector<DesignRow> rows;
  size_t at = 0;
  for (int line = 1; at < text.size(); ++line) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string whole = text.substr(at, end - at);
    at = end + 1;
    if (line <= kDesignHeadingLines) continue;
    DesignRow row{};
    size_t pos = 0;
    for (int c = 0; c < kDesignColumnCount; ++c) {
      while (pos < whole.size() && (whole[pos] == ' ' || whole[pos] == '\r' || whole[pos] == '\t')) ++pos;
      size_t stop = pos;
      while (stop < whole.size() && whole[stop] != ' ' && whole[stop] != '\r' && whole[stop] != '\t') ++stop;
      if (stop == pos || !exactDecimal(whole.data() + pos, whole.data() + stop, row[c]))
        throw RunError(formatText("ERROR EN EL FICHERO %s: LA L\xCDNEA %d NO ES UNA FILA DEL ARMADO\n", path.c_str(),
                                  line));
      pos = stop;
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace common
