#include "calcdin/dense_buffer.h"

#include <cstring>
#include <new>
#include <utility>

#include "common/large_memory.h"

namespace calcdin {

namespace {
double* allocate(std::size_t count, bool zeroed) {
  if (count == 0) return nullptr;
  if (count > static_cast<std::size_t>(-1) / 2 / sizeof(double)) throw std::bad_alloc();
  void* memory = common::allocateLarge(count * sizeof(double));
  if (zeroed) std::memset(memory, 0, count * sizeof(double));
  return static_cast<double*>(memory);
}
}  // namespace

DenseBuffer::DenseBuffer(std::size_t count) : data_(allocate(count, true)), count_(count) {}

// A copy is written over whole: no zeros first.
DenseBuffer::DenseBuffer(const DenseBuffer& other) : data_(allocate(other.count_, false)), count_(other.count_) {
  if (count_) std::memcpy(data_, other.data_, count_ * sizeof(double));
}

DenseBuffer& DenseBuffer::operator=(const DenseBuffer& other) {
  if (this != &other) {
    DenseBuffer copy(other);
    *this = std::move(copy);
  }
  return *this;
}

DenseBuffer::DenseBuffer(DenseBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), count_(std::exchange(other.count_, 0)) {}

DenseBuffer& DenseBuffer::operator=(DenseBuffer&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    count_ = std::exchange(other.count_, 0);
  }
  return *this;
}

DenseBuffer::~DenseBuffer() { release(); }

void DenseBuffer::release() noexcept {
  common::freeLarge(data_);
  data_ = nullptr;
  count_ = 0;
}

}  // namespace calcdin
