#pragma once
// Stiffness and mass of one system side by side: entry (r, c) of both lives in
// one 16-byte cell, so every rotation of the eigen solution, which changes the
// same entries of both matrices, touches each cache line once. 1-based, dense.
#include <cstddef>

#include "calcdin/dense_buffer.h"

namespace calcdin {

class PairMatrix {
 public:
  PairMatrix() = default;
  explicit PairMatrix(int order)
      : n_(order), stride_(static_cast<std::size_t>(order) + 1), data_(2 * stride_ * stride_) {}

  int order() const { return n_; }
  std::size_t stride() const { return stride_; }

  double& S(int r, int c) { return data_[cell(r, c)]; }
  double& Q(int r, int c) { return data_[cell(r, c) + 1]; }
  double S(int r, int c) const { return data_[cell(r, c)]; }
  double Q(int r, int c) const { return data_[cell(r, c) + 1]; }

  // Row access for the rotation kernels: row r is stride() cells of kCellWidth
  // doubles; S(r, c) is row(r)[kCellWidth * c] and Q(r, c) the double after it.
  static constexpr std::size_t kCellWidth = 2;
  double* row(int r) { return data_.data() + kCellWidth * static_cast<std::size_t>(r) * stride_; }

  void release() {
    data_ = DenseBuffer();
    n_ = 0;
  }

 private:
  std::size_t cell(int r, int c) const {
    return kCellWidth * (static_cast<std::size_t>(r) * stride_ + static_cast<std::size_t>(c));
  }
  int n_ = 0;
  std::size_t stride_ = 1;
  DenseBuffer data_;
};

}  // namespace calcdin
