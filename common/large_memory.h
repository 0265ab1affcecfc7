#pragma once
// Memory for large tables that are filled soon after they are made. From
// 256 KiB on, it is aligned to 2 MiB and offered to the kernel as huge pages:
// one fault then gives 2 MiB instead of 4 KiB, and on a virtual machine the
// faults of a table of small pages can cost more than filling it (measured on
// one: 12 µs a small page, about 0.1 ms a huge one).
#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

namespace common {

// Uninitialised memory for `bytes` bytes, aligned for any type; throws
// std::bad_alloc. Freed with freeLarge().
void* allocateLarge(std::size_t bytes);
void freeLarge(void* memory) noexcept;

// The same for a standard container: std::vector<T, LargeAllocator<T>>.
template <class T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <class U>
  LargeAllocator(const LargeAllocator<U>&) noexcept {}
  T* allocate(std::size_t count) {
    if (count > static_cast<std::size_t>(-1) / 2 / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(allocateLarge(count * sizeof(T)));
  }
  void deallocate(T* memory, std::size_t) noexcept { freeLarge(memory); }
  template <class U>
  bool operator==(const LargeAllocator<U>&) const noexcept { return true; }
  template <class U>
  bool operator!=(const LargeAllocator<U>&) const noexcept { return false; }
};

// Blocks of one size lent out of one table of large memory, for the buffers
// that many files fill at once: together they fault in as one huge page, not
// as hundreds of small ones. Usable from several threads.
class BlockPool {
 public:
  BlockPool(std::size_t blockSize, std::size_t count);
  ~BlockPool();
  BlockPool(const BlockPool&) = delete;
  BlockPool& operator=(const BlockPool&) = delete;
  // A block of blockSize bytes, uninitialised; null when all are lent (or
  // there was no memory for the table).
  char* take();
  // Takes back a block that take() gave.
  void give(char* block);

 private:
  std::mutex mutex_;
  std::size_t blockSize_, tableBytes_ = 0;
  char* memory_ = nullptr;
  std::vector<char*> free_;
};

}  // namespace common
