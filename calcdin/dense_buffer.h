#pragma once
// Zero-filled storage of doubles for the dense working matrices, in large
// memory (common/large_memory.h): huge pages matter here also because the eigen
// solution walks columns with a stride of a whole row, and with 4 KiB pages
// nearly every step of such a walk is a different page.
#include <cstddef>

namespace calcdin {

class DenseBuffer {
 public:
  DenseBuffer() = default;
  explicit DenseBuffer(std::size_t count);  // throws std::bad_alloc
  DenseBuffer(const DenseBuffer& other);
  DenseBuffer& operator=(const DenseBuffer& other);
  DenseBuffer(DenseBuffer&& other) noexcept;
  DenseBuffer& operator=(DenseBuffer&& other) noexcept;
  ~DenseBuffer();

  double* data() { return data_; }
  const double* data() const { return data_; }
  std::size_t size() const { return count_; }
  double& operator[](std::size_t i) { return data_[i]; }
  double operator[](std::size_t i) const { return data_[i]; }

 private:
  void release() noexcept;
  double* data_ = nullptr;
  std::size_t count_ = 0;
};

}  // namespace calcdin
