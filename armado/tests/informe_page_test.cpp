// informe shows the design armado wrote for the project, and refuses a
// design table of another model.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "common/design_table.h"
#include "common/format.h"
#include "common/testing/test_support.h"

namespace {

using testsupport::RunResult;
using testsupport::ScratchDir;

class DesignInTheReport : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"viga3.dat", "viga3.caf", "viga3q.caf"})
      dir.write(file, testsupport::readFile(std::string(EXAMPLES_DIR) + "/" + file));
    ASSERT_EQ(testsupport::runCalcest(CALCEST_BINARY, dir.path(), "viga3").status, 0);
  }
  RunResult run(const char* program, const std::vector<std::string>& args) {
    return testsupport::runProgram(program, args, dir.path());
  }
  ScratchDir dir;
};

TEST_F(DesignInTheReport, ThePageShowsTheDrawingScheduleAndTable) {
  const RunResult without = run(INFORME_BINARY, {"viga3"});
  ASSERT_EQ(without.status, 0) << without.output;
  EXPECT_EQ(dir.read("viga3.html").find("id=\"armado\""), std::string::npos);
  ASSERT_EQ(run(ARMADO_BINARY, {"viga3", "viga3.dat", "viga3.caf", "viga3q.caf"}).status, 0);
  const RunResult with = run(INFORME_BINARY, {"viga3"});
  ASSERT_EQ(with.status, 0) << with.output;
  const std::string page = dir.read("viga3.html");
  EXPECT_NE(page.find("<h2 id=\"armado\">3. Armado</h2>"), std::string::npos);
  EXPECT_NE(page.find("<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"armado\""), std::string::npos);
  EXPECT_NE(page.find("DESPIECE DE LA VIGA viga3"), std::string::npos);
  // One row per station: three bars of 21 stations sharing two.
  const std::string table = page.substr(page.find("id=\"armado-secciones\""));
  size_t rows = 0;
  for (size_t at = table.find("<tr><td>"); at != std::string::npos; at = table.find("<tr><td>", at + 1)) ++rows;
  EXPECT_EQ(rows, 61u);
  // The serviceability: its curves, and its columns in the table.
  EXPECT_NE(page.find("<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"armado-flechas\""), std::string::npos);
  EXPECT_NE(table.find("<th>f,dif</th></tr>"), std::string::npos);
  // The curves label span 2's largest sags, elastic and long-term, as the
  // table gives them.
  const common::DesignTable design = common::readDesignTable(dir.read("viga3.arm"), "viga3.arm");
  double elastic = 0, longTerm = 0;
  for (const common::DesignRow& row : design.rows)
    if (row[common::kDesignX] > 6 && row[common::kDesignX] < 14) {
      elastic = std::min(elastic, row[common::kDesignElasticDeflection]);
      longTerm = std::min(longTerm, row[common::kDesignLongTermDeflection]);
    }
  ASSERT_LT(longTerm, 2 * elastic);
  const size_t curves = page.find("id=\"armado-flechas\"");
  const std::string picture = page.substr(curves, page.find("</svg>", curves) - curves);
  for (double sag : {elastic, longTerm})
    EXPECT_NE(picture.find(">" + common::formatText("%.2f", sag) + "<"), std::string::npos) << sag;
}

// Each line cut after its strength columns: a table written before the
// serviceability is shown without it; a line cut elsewhere is damaged.
TEST_F(DesignInTheReport, ATableOfBeforeTheServiceabilityIsShownWithoutIt) {
  ASSERT_EQ(run(ARMADO_BINARY, {"viga3", "viga3.dat", "viga3.caf", "viga3q.caf"}).status, 0);
  const std::string table = dir.read("viga3.arm");
  std::string before, ragged;
  std::istringstream lines(table);
  std::string text;
  for (int line = 1; std::getline(lines, text); ++line) {
    if (line <= 3) {
      before += text + "\n";
      ragged += text + "\n";
      continue;
    }
    std::istringstream words(text);
    std::string word, strength, part;
    for (int column = 0; words >> word; ++column) {
      if (column < 14) strength += word + " ";
      if (column < 20) part += word + " ";
    }
    before += strength + "\n";
    ragged += (line == 7 ? part : text) + "\n";
  }
  dir.write("viga3.arm", before);
  const RunResult shown = run(INFORME_BINARY, {"viga3"});
  ASSERT_EQ(shown.status, 0) << shown.output;
  const std::string page = dir.read("viga3.html");
  EXPECT_NE(page.find("<th>cot</th></tr>"), std::string::npos);
  EXPECT_EQ(page.find("armado-flechas"), std::string::npos);
  dir.write("viga3.arm", ragged);
  const RunResult refused = run(INFORME_BINARY, {"viga3"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.output.find("ERROR EN EL FICHERO viga3.arm: LA L\xCDNEA 7 NO ES UNA FILA DEL ARMADO"),
            std::string::npos)
      << refused.output;
}

// A table whose stations are not the model's (an earlier model's), a
// damaged line, a drawing that is not armado's: refused, nothing written.
TEST_F(DesignInTheReport, ADamagedDesignOrOneOfAnotherModelIsRefusedAndNothingWritten) {
  ASSERT_EQ(run(ARMADO_BINARY, {"viga3", "viga3.dat", "viga3.caf", "viga3q.caf"}).status, 0);
  const std::string table = dir.read("viga3.arm"), drawing = dir.read("viga3a.svg");
  std::string shorter = table;
  shorter.erase(shorter.rfind('\n', shorter.size() - 2) + 1);  // the last station gone
  std::string moved = table;
  moved.replace(moved.find("   0.300 "), 9, "   0.350 ");
  std::string damaged = table;
  damaged.replace(damaged.find("   0.300 "), 9, "   0.3x0 ");
  const struct {
    std::string table, drawing;
    const char* message;
  } cases[] = {
      {shorter, drawing, "EL FICHERO viga3.arm NO ES DEL MODELO viga3.dat: VUELVA A EJECUTAR armado"},
      {moved, drawing, "EL FICHERO viga3.arm NO ES DEL MODELO viga3.dat"},
      {damaged, drawing, "ERROR EN EL FICHERO viga3.arm: LA L\xCDNEA 5 NO ES UNA FILA DEL ARMADO"},
      {table, "<?xml version=\"1.0\"?>\n<svg x=\"\"><script>alert(1)</script></svg>\n",
       "ERROR EN EL FICHERO viga3a.svg: NO ES UN DIBUJO DEL ARMADO"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    dir.write("viga3.arm", c.table);
    dir.write("viga3a.svg", c.drawing);
    const auto before = testsupport::folderContents(dir.path());
    const RunResult refused = run(INFORME_BINARY, {"viga3"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find(c.message), std::string::npos) << refused.output;
    EXPECT_TRUE(testsupport::changesSince(before, dir.path()).empty());
  }
}

}  // namespace
