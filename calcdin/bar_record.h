#pragma once
// The bar record file written by the static engine: one 9056-byte record per bar,
// little-endian 32-bit integers and IEEE-754 doubles. Only the fields the element
// matrices need are decoded, each from its own byte offset.
#include <cstddef>
#include <cstdio>
#include <string>

#include "model.h"

namespace calcdin {

constexpr std::size_t kBarRecordSize = 9056;

// Byte offsets of the fields within a record.
namespace offset {
constexpr std::size_t index = 0, nodeI = 16, nodeJ = 20, type = 32;
constexpr std::size_t aclx = 48, ablx = 56, adlx = 64, shear = 72;
constexpr std::size_t E = 88, G = 96, A = 104, m = 112, I = 128, L = 152, cos = 160, sin = 168;
}  // namespace offset

struct BarRecord {
  int index = 0;  // position of the bar in the model file
  int nodeI = 0, nodeJ = 0, type = 0;
  double aclx = 0, ablx = 0, adlx = 0;  // flexible part, rigid zone at J, rigid zone at I
  int shear = 0;
  double E = 0, G = 0, A = 0, m = 0, I = 0, L = 0, cos = 0, sin = 0;
};

// Little-endian field access, independent of the host's byte order and padding.
int readInt32LE(const unsigned char* bytes);
double readDoubleLE(const unsigned char* bytes);

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
  BarRecord read(int h, const BarInput& modelBar) const;

 private:
  FILE* file_;
  std::string fileName_;
};

}  // namespace calcdin
