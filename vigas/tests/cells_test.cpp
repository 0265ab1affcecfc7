// Every rule a cell is checked with: the editor lists it at the cell with its
// reason, and calcest, given the same content as files, refuses it with its
// own message (the rule is one rule). The editor's own rules have no engine
// message. Text that is no value of the cell's kind is refused at once.
#include <gtest/gtest.h>

#include "common/model_writer.h"
#include "vigas/document.h"
#include "vigas/tests/test_beams.h"

using namespace vigas;
using namespace vigastest;

namespace {

// A cell set to a text, or (text null) a new row inserted at place.row.
struct Edit {
  CellPlace place;
  const char* text;
};

struct Rule {
  const char* what;
  std::vector<Edit> edits;
  CellPlace at;        // where the error is listed
  const char* reason;  // part of its reason
  const char* engine;  // part of calcest's message; null for the editor's own rules
};

CellPlace cell(Table table, int row, int column, int loadCase = 0) { return CellPlace{table, row, column, loadCase}; }

// Bars 1 and 2 share span 1 (nodes 1-2-3, 3 m each); loads line 1 is bar 1's.
const Rule kRules[] = {
    {"title over 23 characters",
     {{cell(Table::header, 1, 0), "VIGA_DE_VEINTICUATRO_CAR"}},
     cell(Table::header, 1, 0),
     "23",
     "T\xCDTULO DEL MODELO TIENE M\xC1S DE 23"},
    {"two nodes with one label",
     {{cell(Table::nodes, 2, 0), "1"}},
     cell(Table::nodes, 2, 0),
     "etiqueta 1",
     "DOS NODOS CON LA ETIQUETA 1"},
    {"no flexible part",
     {{cell(Table::bars, 1, 7), "0"}, {cell(Table::bars, 1, 8), "1"}},
     cell(Table::bars, 1, 7),
     "aclx",
     "ERROR dcbi=1"},
    {"fractions not adding to one",
     {{cell(Table::bars, 1, 8), "0.2"}},
     cell(Table::bars, 1, 7),
     "exactamente 1",
     "ERROR dcb\nI=1"},
    {"unknown end node",
     {{cell(Table::bars, 1, 2), "99"}},
     cell(Table::bars, 1, 2),
     "etiqueta 99",
     "ERROR EN NODOS/ELEMENTO"},
    {"both ends on one node",
     {{cell(Table::bars, 1, 2), "1"}},
     cell(Table::bars, 1, 2),
     "mismo nodo",
     "ERROR EN NODOS/ELEMENTO"},
    {"horizontal bar drawn leftwards",
     {{cell(Table::bars, 1, 1), "2"}, {cell(Table::bars, 1, 2), "1"}},
     cell(Table::bars, 1, 2),
     "izquierda a derecha",
     "IZQUIERDA A DERECHA"},
    {"bar of zero length",
     {{cell(Table::nodes, 2, 1), "0"}},
     cell(Table::bars, 1, 2),
     "longitud",
     "LA BARRA 1 TIENE LONGITUD NULA"},
    {"vertical bar drawn downwards",
     {{cell(Table::nodes, 2, 1), "0"}, {cell(Table::nodes, 2, 2), "-1"}},
     cell(Table::bars, 1, 2),
     "abajo arriba",
     "VERTICAL Y VA HACIA ABAJO"},
    {"material outside the table",
     {{cell(Table::bars, 1, 3), "2"}},
     cell(Table::bars, 1, 3),
     "material",
     "USA EL MATERIAL 2 Y SOLO HAY 1"},
    {"section outside the table",
     {{cell(Table::bars, 1, 4), "0"}},
     cell(Table::bars, 1, 4),
     "secci\xF3n",
     "USA LA SECCI\xD3N 0 Y SOLO HAY 1"},
    {"shear deformation without G",
     {{cell(Table::materials, 1, 2), "0"}, {cell(Table::bars, 1, 10), "1"}},
     cell(Table::bars, 1, 10),
     "cortante",
     "CORTANTE CON G\xB7"
     "A NULO"},
    {"support on no node",
     {{cell(Table::supports, 2, 0), "99"}},
     cell(Table::supports, 2, 0),
     "etiqueta 99",
     "ERROR EN NODOS/RESTRICCIONES"},
    {"tie direction 4",
     {{cell(Table::ties, 1, 0), nullptr}, {cell(Table::ties, 1, 1), "3"}, {cell(Table::ties, 1, 2), "4"}},
     cell(Table::ties, 1, 2),
     "direcci\xF3n",
     "ERROR DIRECCION dir1"},
    {"tie to no node",
     {{cell(Table::ties, 1, 0), nullptr}, {cell(Table::ties, 1, 0), "1"}, {cell(Table::ties, 1, 1), "99"}},
     cell(Table::ties, 1, 1),
     "etiqueta 99",
     "ERROR CORRIMIENTO"},
    {"nodal load on no node",
     {{cell(Table::nodalLoads, 1, 0), nullptr}, {cell(Table::nodalLoads, 1, 0), "99"}},
     cell(Table::nodalLoads, 1, 0),
     "etiqueta 99",
     "ERROR EN NODOS/CARGAS EN NODOS"},
    {"load on no bar",
     {{cell(Table::loads, 1, 0), "99"}},
     cell(Table::loads, 1, 0),
     "barra con la etiqueta 99",
     "ES DE LA BARRA 99, QUE NO EXISTE"},
    {"load longer than its bar",
     {{cell(Table::loads, 1, 3), "3.5"}},
     cell(Table::loads, 1, 4),
     "no cabe",
     "NO CABE EN LA BARRA 1: a + c + b = 3.5 Y LA BARRA MIDE 3"},
    {"negative distance",
     {{cell(Table::loads, 1, 2), "-1"}, {cell(Table::loads, 1, 3), "4"}},
     cell(Table::loads, 1, 2),
     "negativa",
     "TIENE UNA DISTANCIA NEGATIVA: a = -1"},
    {"load type 7", {{cell(Table::loads, 1, 1), "7"}}, cell(Table::loads, 1, 1), "1 a 6", "ERROR TIPO DE CARGA"},
    {"direction z",
     {{cell(Table::loads, 1, 6), "z"}},
     cell(Table::loads, 1, 6),
     "direcci\xF3n",
     "ERROR EN DIRECCION DE CARGA"},
    {"point moment on a bar of type 7",
     {{cell(Table::bars, 1, 5), "7"}, {cell(Table::loads, 1, 1), "2"}},
     cell(Table::loads, 1, 1),
     "tipo 7",
     "ERROR TIPO DE BARRA"},
    {"zero span", {{cell(Table::loads, 1, 3), "0"}}, cell(Table::loads, 1, 3), "luz", "TIENE LUZ NULA"},
    {"temperature on a bar without height",
     {{cell(Table::sections, 1, 4), "0"}, {cell(Table::loads, 1, 1), "6"}},
     cell(Table::loads, 1, 0),
     "canto",
     "CUYO CANTO ES NULO"},
    {"section without area", {{cell(Table::sections, 1, 1), "0"}}, cell(Table::sections, 1, 1), "\xE1rea", nullptr},
    {"negative inertia", {{cell(Table::sections, 1, 2), "-1"}}, cell(Table::sections, 1, 2), "inercia", nullptr},
    {"material without stiffness",
     {{cell(Table::materials, 1, 1), "0"}},
     cell(Table::materials, 1, 1),
     "elasticidad",
     nullptr},
    {"bar type 9", {{cell(Table::bars, 1, 5), "9"}}, cell(Table::bars, 1, 5), "0 a 8", nullptr},
    {"negative rigid zone",
     {{cell(Table::bars, 1, 7), "1.25"}, {cell(Table::bars, 1, 8), "-0.125"}, {cell(Table::bars, 1, 9), "-0.125"}},
     cell(Table::bars, 1, 8),
     "negativa",
     nullptr},
    {"shear switch 2", {{cell(Table::bars, 1, 10), "2"}}, cell(Table::bars, 1, 10), "cortante", nullptr},
    {"taper 0", {{cell(Table::bars, 1, 11), "0"}}, cell(Table::bars, 1, 11), "cartela", nullptr},
    {"self-weight switch 2", {{cell(Table::header, 1, 3), "2"}}, cell(Table::header, 1, 3), "peso propio", nullptr},
};

bool listed(const std::vector<CellError>& errors, const CellPlace& at, const std::string& reason) {
  for (const CellError& e : errors)
    if (e.place.table == at.table && e.place.row == at.row && e.place.column == at.column &&
        e.place.loadCase == at.loadCase && e.reason.find(reason) != std::string::npos)
      return true;
  return false;
}

// calcest on the content written as it stands (the editor would not save it).
testsupport::RunResult calcestOn(const Content& content) {
  testsupport::ScratchDir dir;
  dir.write("m.dat", common::modelText(content.model));
  dir.write("m.caf", common::loadsText(content.cases[0].loads));
  return testsupport::runCalcest(calcestBinary(), dir.path(), "m");
}

}  // namespace

TEST(CellRules, TheBeamToEditBreaksNoRuleAndCalcestTakesIt) {
  const Content beam = threeSpanBeam();
  EXPECT_TRUE(checkContent(beam).empty());
  EXPECT_EQ(calcestOn(beam).status, 0);
}

TEST(CellRules, EachRuleIsListedAtItsCellAndIsCalcestsRule) {
  for (const Rule& rule : kRules) {
    Document document(threeSpanBeam());
    for (const Edit& edit : rule.edits) {
      const EditResult result = edit.text ? document.setCell(edit.place, edit.text)
                                          : document.insertRow(edit.place.table, edit.place.row, edit.place.loadCase);
      ASSERT_TRUE(result.done) << rule.what << ": " << result.reason;
    }
    EXPECT_TRUE(listed(document.errors(), rule.at, rule.reason)) << rule.what;
    if (!rule.engine) continue;
    const testsupport::RunResult run = calcestOn(document.content());
    EXPECT_EQ(run.status, 1) << rule.what;
    EXPECT_NE(run.output.find(rule.engine), std::string::npos) << rule.what << ": " << run.output;
  }
}

TEST(CellRules, MoreBarsThanTheLimitAreListedAndRefusedByCalcest) {
  BeamChoices choices = threeSpanChoices();
  choices.rightOverhang = 0;
  choices.spans = {100.0, 150.0};
  choices.supports.resize(3);
  choices.barsPerSpan = 125;
  Document document(buildContinuousBeam(choices).content);
  ASSERT_TRUE(document.errors().empty());
  ASSERT_TRUE(document.insertRow(Table::bars, 251).done);
  EXPECT_TRUE(listed(document.errors(), cell(Table::bars, 0, -1), "251 barras"));
  EXPECT_NE(calcestOn(document.content()).output.find("TIENE 251 BARRAS; EL M\xC1XIMO ES 250"), std::string::npos);
}

struct Typing {
  const char* what;
  CellPlace place;
  const char* text;
  const char* reason;
};

const Typing kRefusedTexts[] = {
    {"a fraction for a label", cell(Table::nodes, 1, 0), "1.5", "entero"},
    {"words for a coordinate", cell(Table::nodes, 1, 1), "seis", "n\xFAmero"},
    {"two decimal marks", cell(Table::nodes, 1, 1), "6,5.1", "n\xFAmero"},
    {"infinity", cell(Table::sections, 1, 1), "inf", "n\xFAmero"},
    {"a title of two words", cell(Table::header, 1, 0), "VIGA TRES", "espacios"},
    {"a value the support code does not take", cell(Table::supports, 2, 2), "0.01", "no lleva"},
    {"two letters for a direction", cell(Table::loads, 1, 6), "xy", "letra"},
    {"a row that is not there", cell(Table::nodes, 99, 0), "1", "no existe"},
};

TEST(CellRules, TextThatIsNoValueOfTheCellIsRefusedAndLeavesItAsItWas) {
  for (const Typing& t : kRefusedTexts) {
    Document document(threeSpanBeam());
    const std::string before = cellText(document.content(), t.place);
    const EditResult result = document.setCell(t.place, t.text);
    EXPECT_FALSE(result.done) << t.what;
    EXPECT_NE(result.reason.find(t.reason), std::string::npos) << t.what << ": " << result.reason;
    EXPECT_EQ(cellText(document.content(), t.place), before) << t.what;
    EXPECT_FALSE(document.canUndo()) << t.what;
  }
}

TEST(CellRules, AnEditSaysTheRuleItsRowNowBreaks) {
  Document document(threeSpanBeam());
  const EditResult result = document.setCell(cell(Table::loads, 1, 3), "3.5");
  EXPECT_TRUE(result.done);
  EXPECT_NE(result.reason.find("no cabe"), std::string::npos);
  EXPECT_EQ(document.setCell(cell(Table::loads, 1, 3), "3").reason, "");
}

TEST(CellRules, CodesAreShownInWords) {
  const Content beam = threeSpanBeam();
  EXPECT_EQ(cellWords(beam, cell(Table::supports, 1, 1)), "articulado");
  EXPECT_EQ(cellWords(beam, cell(Table::supports, 2, 1)), "deslizante");
  EXPECT_EQ(cellWords(beam, cell(Table::bars, 1, 5)), "r\xEDgida en los dos extremos");
  EXPECT_EQ(cellWords(beam, cell(Table::loads, 1, 1)), "carga uniforme");
  EXPECT_EQ(cellWords(beam, cell(Table::header, 1, 2)), "kilonewtons y metros");
  // The digits of other codes, horizontal, vertical and rotation; an unknown code acts as 110.
  Document document(beam);
  ASSERT_TRUE(document.setCell(cell(Table::supports, 2, 1), "201").done);
  EXPECT_EQ(cellWords(document.content(), cell(Table::supports, 2, 1)), "horizontal muelle, vertical libre, giro fijo");
  ASSERT_TRUE(document.setCell(cell(Table::supports, 2, 1), "54").done);
  EXPECT_EQ(cellWords(document.content(), cell(Table::supports, 2, 1)), "inclinado muelle, giro libre");
  ASSERT_TRUE(document.setCell(cell(Table::supports, 2, 1), "7").done);
  EXPECT_EQ(cellWords(document.content(), cell(Table::supports, 2, 1)),
            "act\xFA"
            "a como 110: horizontal fijo, vertical fijo, giro libre");
}

TEST(CellRules, ANewBeamAndANewLoadRowBreakNoRule) {
  EXPECT_TRUE(Document().errors().empty());
  // The first bar of the beam runs from 0 to 3: the new load covers it.
  Document d(threeSpanBeam());
  ASSERT_TRUE(d.insertRow(Table::loads, d.rowCount(Table::loads, 0) + 1, 0).done);
  EXPECT_TRUE(d.errors().empty()) << d.errors().front().reason;
  const BarLoad& added = d.content().cases[0].loads.back();
  EXPECT_EQ(added.barLabel, 1);
  EXPECT_EQ(added.c, 3.0);
  EXPECT_EQ(added.dir, 'y');
}
