// The tables' headings: a coded column's tooltip names every code the file
// takes there, the rigid-zone fractions by their names; the only hidden
// columns are those the files carry and no program uses.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/model_rules.h"
#include "vigas/cells.h"
#include "vigas/span_cells.h"

using namespace vigas;

namespace {

// The whole numbers a text writes (a code "110" counts, the 1 of "1.5" not).
std::set<std::string> numbersIn(const std::string& text) {
  std::set<std::string> numbers;
  std::string word;
  std::istringstream in(text);
  for (char c; in.get(c);) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      word += c;
      continue;
    }
    if (!word.empty() && c != '.' && c != ',') numbers.insert(word);
    word.clear();
  }
  if (!word.empty()) numbers.insert(word);
  return numbers;
}

}  // namespace

TEST(ColumnTexts, ACodedColumnsTipNamesEveryCodeItTakes) {
  const struct {
    Table table;
    int column;
    std::vector<std::string> codes;  // as the model and loads files take them
  } columns[] = {
      {Table::header, 2, {"0", "1", "2", "3", "4"}},                                   // units
      {Table::header, 3, {"0", "1"}},                                                  // own weight
      {Table::bars, common::kBarType, {"0", "1", "2", "3", "4", "5", "6", "7", "8"}},  // releases
      {Table::bars, common::kBarShear, {"0", "1"}},                                    // shear strain
      {Table::supports, 1, {"0", "1", "2", "110", "10", "111"}},                       // digit by digit
      {Table::loads, 1, {"1", "2", "3", "4", "5", "6"}},                               // load kinds
  };
  for (const auto& c : columns) {
    const std::string tip = columnTip(c.table, c.column);
    const std::set<std::string> named = numbersIn(tip);
    for (const std::string& code : c.codes)
      EXPECT_TRUE(named.count(code)) << "column " << c.column << " of table " << static_cast<int>(c.table)
                                     << " does not name code " << code << ": " << tip;
  }
  const std::pair<int, const char*> fractions[] = {
      {common::kBarAclx, "aclx"}, {common::kBarAdlx, "adlx"}, {common::kBarAblx, "ablx"}};
  for (const auto& [column, name] : fractions) EXPECT_EQ(columnTip(Table::bars, column).rfind(name, 0), 0u) << name;
}

TEST(ColumnTexts, OnlyTheColumnsNoProgramUsesAreHidden) {
  // The title line's echoed integer, the unused count and real after the
  // counts, a bar's seventh integer.
  const std::set<std::pair<Table, int>> carried = {
      {Table::header, 1}, {Table::header, 4}, {Table::header, 5}, {Table::bars, common::kBarCarried}};
  const Table tables[] = {Table::header,    Table::nodes,    Table::bars,     Table::sections,
                          Table::materials, Table::supports, Table::ties,     Table::nodalLoads,
                          Table::loads,     Table::spans,    Table::spanLoads};
  size_t hidden = 0;
  for (Table table : tables)
    for (int column = 0; column < static_cast<int>(columnsOf(table).size()); ++column) {
      const bool unused = carried.count({table, column}) > 0;
      EXPECT_EQ(hiddenColumn(table, column), unused) << static_cast<int>(table) << " " << column;
      if (hiddenColumn(table, column)) {
        ++hidden;
        EXPECT_EQ(columnTip(table, column), "") << "a hidden column with a tip";
      }
    }
  EXPECT_EQ(hidden, carried.size());  // each is a column of its table
}
