#pragma once
// The bar record file written by the static engine (layout in
// bar_record_layout.h). Only the fields the element matrices need are decoded.
#include <cstdio>
#include <string>

#include "common/model.h"

namespace calcdin {

struct BarRecord {
  int index = 0;  // position of the bar in the model file
  int nodeI = 0, nodeJ = 0, type = 0;
  double aclx = 0, ablx = 0, adlx = 0;  // flexible part, rigid zone at J, rigid zone at I
  int shear = 0;
  double E = 0, G = 0, A = 0, m = 0, I = 0, L = 0, cos = 0, sin = 0;
};

BarRecord decodeBarRecord(const unsigned char* record);

// Reads records by position from an open bar record file.
class BarRecordFile {
 public:
  BarRecordFile(FILE* file, std::string fileName) : file_(file), fileName_(std::move(fileName)) {}

  // Fails with a message when a regular file does not hold exactly nb records:
  // too short to be read, or longer because it belongs to another model.
  void checkRecordCount(int nb) const;

  // Record of bar h (1-based); checks that it can be read in full and that it is
  // the record of the model's bar h: the same position and the same nodes.
  BarRecord read(int h, const common::BarInput& modelBar) const;

 private:
  FILE* file_;
  std::string fileName_;
};

}  // namespace calcdin
