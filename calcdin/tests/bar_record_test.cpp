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

TEST(ModalBarRecordLayout, FieldsAreReadLittleEndianAtTheirOffsets) {
  std::string bytes(barrecord::kRecordSize, '\0');
  // nodeI = 0x01020304 at 16, type = -2 at 32, aclx = 1.0 at 48, sin = -0.5 at 168.
  const unsigned char nodeI[4] = {0x04, 0x03, 0x02, 0x01};
  const unsigned char type[4] = {0xFE, 0xFF, 0xFF, 0xFF};
  const unsigned char one[8] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  const unsigned char minusHalf[8] = {0, 0, 0, 0, 0, 0, 0xE0, 0xBF};
  bytes.replace(16, 4, reinterpret_cast<const char*>(nodeI), 4);
  bytes.replace(32, 4, reinterpret_cast<const char*>(type), 4);
  bytes.replace(48, 8, reinterpret_cast<const char*>(one), 8);
  bytes.replace(168, 8, reinterpret_cast<const char*>(minusHalf), 8);
  calcdin::BarRecord bar = calcdin::decodeBarRecord(reinterpret_cast<const unsigned char*>(bytes.data()));
  EXPECT_EQ(bar.nodeI, 0x01020304);
  EXPECT_EQ(bar.type, -2);
  EXPECT_EQ(bar.aclx, 1.0);
  EXPECT_EQ(bar.sin, -0.5);
  EXPECT_EQ(bar.nodeJ, 0);
  EXPECT_EQ(bar.L, 0.0);
}

TEST(ModalBarRecordLayout, EveryUsedFieldComesFromItsOwnOffset) {
  calcdin::BarRecord in;
  in.nodeI = 3;
  in.nodeJ = 7;
  in.type = 8;
  in.aclx = 0.5;
  in.ablx = 0.3;
  in.adlx = 0.2;
  in.shear = 1;
  in.E = 2.1e7;
  in.G = 8.1e6;
  in.A = 0.12;
  in.m = 0.3;
  in.I = 0.0016;
  in.L = 6.5;
  in.cos = 0.8;
  in.sin = 0.6;
  std::string bytes = fixtures::encodeRecord(in, 4, 40);
  calcdin::BarRecord out = calcdin::decodeBarRecord(reinterpret_cast<const unsigned char*>(bytes.data()));
  EXPECT_EQ(out.nodeI, 3);
  EXPECT_EQ(out.nodeJ, 7);
  EXPECT_EQ(out.type, 8);
  EXPECT_EQ(out.aclx, 0.5);
  EXPECT_EQ(out.ablx, 0.3);
  EXPECT_EQ(out.adlx, 0.2);
  EXPECT_EQ(out.shear, 1);
  EXPECT_EQ(out.E, 2.1e7);
  EXPECT_EQ(out.G, 8.1e6);
  EXPECT_EQ(out.A, 0.12);
  EXPECT_EQ(out.m, 0.3);
  EXPECT_EQ(out.I, 0.0016);
  EXPECT_EQ(out.L, 6.5);
  EXPECT_EQ(out.cos, 0.8);
  EXPECT_EQ(out.sin, 0.6);
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
