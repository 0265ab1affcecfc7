#include <gtest/gtest.h>

#include <string>

#include "calcdin/bar_record.h"
#include "common/bar_record_layout.h"
#include "calcdin/tests/fixtures.h"

using namespace common;

using calcdin::BarRecordFile;
using fixtures::encodeRecord;
using fixtures::sampleBar;
using testsupport::runErrorText;

// The reader against records made by the tests' own encoder, which spells every
// offset out: each used field from its own place, little-endian, the rest left.
TEST(ModalBarRecordLayout, EveryUsedFieldIsReadLittleEndianFromItsOwnOffset) {
  calcdin::BarRecord in;
  in.nodeI = 0x01020304, in.nodeJ = 7, in.type = -2, in.shear = 1;
  in.aclx = 0.5, in.ablx = 0.3, in.adlx = 0.2, in.E = 2.1e7, in.G = 8.1e6, in.A = 0.12, in.m = 0.3, in.I = 0.0016;
  in.L = 6.5, in.cos = 0.8, in.sin = -0.5;
  std::string bytes = encodeRecord(in, 4, 40);
  EXPECT_EQ(bytes.substr(16, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(bytes.substr(32, 4), std::string("\xFE\xFF\xFF\xFF", 4));
  EXPECT_EQ(bytes.substr(168, 8), std::string("\0\0\0\0\0\0\xE0\xBF", 8));
  calcdin::BarRecord out = calcdin::decodeBarRecord(reinterpret_cast<const unsigned char*>(bytes.data()));
  const std::pair<int, int> integers[] = {{out.nodeI, 0x01020304}, {out.nodeJ, 7}, {out.type, -2}, {out.shear, 1}};
  for (auto [got, wanted] : integers) EXPECT_EQ(got, wanted);
  const std::pair<double, double> reals[] = {{out.aclx, 0.5}, {out.ablx, 0.3}, {out.adlx, 0.2}, {out.E, 2.1e7},
                                             {out.G, 8.1e6},  {out.A, 0.12},   {out.m, 0.3},    {out.I, 0.0016},
                                             {out.L, 6.5},    {out.cos, 0.8},  {out.sin, -0.5}};
  for (auto [got, wanted] : reals) EXPECT_EQ(got, wanted);
}

TEST(ModalBarRecordFile, RecordsAreReadByPositionAndMustBeThoseOfTheModelBars) {
  BarInput first, second;
  first.nodeI = 1, first.nodeJ = 2, second.nodeI = 2, second.nodeJ = 3;
  fixtures::TempFile twoRecords(encodeRecord(sampleBar(1, 0, 1, 2), 1) + encodeRecord(sampleBar(1, 0, 2, 3), 2));
  BarRecordFile records(twoRecords.file, "v.bar");
  EXPECT_EQ(runErrorText([&] { records.checkRecordCount(2); }), "");
  EXPECT_EQ(records.read(2, second).nodeJ, 3);
  EXPECT_EQ(records.read(1, first).nodeI, 1);  // by position, in any order
  EXPECT_EQ(runErrorText([&] { records.read(3, second); }),
            "ERROR: NO SE PUEDE LEER EL REGISTRO DE LA BARRA 3 EN EL FICHERO DE BARRAS v.bar\n");
  EXPECT_NE(runErrorText([&] { records.read(2, first); }), "");

  fixtures::TempFile cut(encodeRecord(sampleBar(1, 0, 1, 2), 1).substr(0, 9000));
  EXPECT_NE(runErrorText([&] { BarRecordFile(cut.file, "c.bar").read(1, first); }), "");
}
