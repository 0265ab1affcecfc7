#include "calcdin/dense_buffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace calcdin {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;

double* allocate(std::size_t count, bool zeroed) {
  if (count == 0) return nullptr;
  if (count > static_cast<std::size_t>(-1) / sizeof(double) - kHugePage) throw std::bad_alloc();
  const std::size_t bytes = count * sizeof(double);
  void* memory = nullptr;
  if (bytes >= kHugePage) {
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    if (posix_memalign(&memory, kHugePage, rounded) != 0) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(memory, rounded, MADV_HUGEPAGE);  // advice only: fine if refused
#endif
  } else {
    memory = std::malloc(bytes);
    if (!memory) throw std::bad_alloc();
  }
  if (zeroed) std::memset(memory, 0, bytes);
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
  std::free(data_);
  data_ = nullptr;
  count_ = 0;
}

}  // namespace calcdin
