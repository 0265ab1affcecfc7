#include "common/mat6.h"

namespace common {

Mat6 multiply(const Mat6& a, const Mat6& b) {
  Mat6 out{};
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) {
      double sum = 0.0;
      for (int i = 1; i <= 6; ++i) sum += a[r][i] * b[i][c];
      out[r][c] = sum;
    }
  return out;
}

Mat6 transpose(const Mat6& a) {
  Mat6 out{};
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c) out[r][c] = a[c][r];
  return out;
}

Mat6 condenseDirection(const Mat6& matrix, int k, double pivot) {
  Mat6 out{};
  for (int r = 1; r <= 6; ++r)
    for (int c = 1; c <= 6; ++c)
      if (r != k && c != k) out[r][c] = matrix[r][c] - matrix[r][k] * matrix[k][c] / pivot;
  return out;
}

Mat6 rigidZoneMatrix(double ai, double aj) {
  Mat6 C{};
  for (int i = 1; i <= 6; ++i) C[i][i] = 1.0;
  C[2][3] = ai;
  C[5][6] = -aj;
  return C;
}

Mat6 rotationMatrix(double c, double s) {
  Mat6 T{};
  T[1][1] = T[2][2] = T[4][4] = T[5][5] = c;
  T[1][2] = T[4][5] = s;
  T[2][1] = T[5][4] = -s;
  T[3][3] = T[6][6] = 1.0;
  return T;
}

}  // namespace common
