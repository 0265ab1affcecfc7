#pragma once
// One record of the bar record file: calcest writes one per bar, in the model's
// bar order, and calcdin reads them back by position. Little-endian 32-bit
// integers and IEEE-754 doubles at fixed byte offsets. 6x6 matrices are stored
// 7x7 with row 0 and column 0 zero, element (r, c) at 8·(7r + c) from the
// matrix start; 6-vectors take 7 doubles with slot 0 zero. Bytes not named here
// are zero.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace common {

namespace barrecord {

constexpr std::size_t kStationsSize = 21 * 8;  // one double per station k = 0..20
constexpr std::size_t kVectorSize = 7 * 8;
constexpr std::size_t kMatrixSize = 7 * kVectorSize;

// Integers.
constexpr std::size_t index = 0;  // position of the bar in the model file
constexpr std::size_t label = 4, labelI = 8, labelJ = 12;
constexpr std::size_t nodeI = 16, nodeJ = 20;  // node indices after sorting by label
constexpr std::size_t material = 24, section = 28;
constexpr std::size_t type = 32, type7 = 36, typeCopy = 40;
// Doubles, and the shear switch and orientation among them.
constexpr std::size_t aclx = 48, ablx = 56, adlx = 64;
constexpr std::size_t shear = 72;  // int
constexpr std::size_t taper = 80, E = 88, G = 96, A = 104, m = 112, w = 120, I = 128;
constexpr std::size_t dx = 136, dy = 144, L = 152, cos = 160, sin = 168;
constexpr std::size_t orient = 176;  // int
// Station arrays, in this order, each kStationsSize long.
constexpr std::size_t xs = 184, N = 352, V = 520, M = 688, defx = 856, defy = 1024, giro = 1192, slope = 1360,
                      angle = 1528, N0 = 1696, V0 = 1864, M0 = 2032;
constexpr std::size_t b = 2200, h = 2208, alpha = 2216;
// Six local stiffness matrices (types 1, 2, 3, 4, 7, 8; 2 to 8 condensed), then
// the same six with rigid end zones, each kMatrixSize long.
constexpr std::size_t localMatrices = 2224, zonedMatrices = 4576;
constexpr std::size_t C = 6928, Ct = 7320;
constexpr std::size_t eqLocal = 7712, fixedEnd = 7768, eqGlobal = 7824;  // vectors
constexpr std::size_t global = 7880, T = 8272, Tt = 8664;
constexpr std::size_t kRecordSize = 9056;

static_assert(M0 + kStationsSize == b && xs + 11 * kStationsSize == M0, "station arrays are contiguous");
static_assert(localMatrices == alpha + 8 && zonedMatrices == localMatrices + 6 * kMatrixSize &&
                  C == zonedMatrices + 6 * kMatrixSize && Ct == C + kMatrixSize && eqLocal == Ct + kMatrixSize,
              "matrices are contiguous");
static_assert(global == eqGlobal + kVectorSize && T == global + kMatrixSize && Tt == T + kMatrixSize,
              "global matrices are contiguous");
static_assert(kRecordSize == Tt + kMatrixSize && kRecordSize == 9056, "a record is 9056 bytes");

inline void putInt(unsigned char* at, int value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int k = 0; k < 4; ++k) at[k] = static_cast<unsigned char>(bits >> (8 * k));
}

inline void putDouble(unsigned char* at, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int k = 0; k < 8; ++k) at[k] = static_cast<unsigned char>(bits >> (8 * k));
}

inline int getInt(const unsigned char* at) {
  std::uint32_t bits = 0;
  for (int k = 3; k >= 0; --k) bits = bits << 8 | at[k];
  std::int32_t value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline double getDouble(const unsigned char* at) {
  std::uint64_t bits = 0;
  for (int k = 7; k >= 0; --k) bits = bits << 8 | at[k];
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace barrecord

}  // namespace common
