#include "common/large_memory.h"

#include <sanitizer/asan_interface.h>  // no-ops unless built with the address sanitizer
#include <sys/mman.h>

#include <cstdlib>

namespace common {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLarge = std::size_t{256} << 10;
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kGuard = 64;  // after each block, poisoned: an overrun is caught as on the heap
#else
constexpr std::size_t kGuard = 0;
#endif
}  // namespace

void* allocateLarge(std::size_t bytes) {
  if (bytes == 0) bytes = 1;
  if (bytes > static_cast<std::size_t>(-1) - kHugePage) throw std::bad_alloc();
  void* memory = nullptr;
  if (bytes >= kLarge) {
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    if (posix_memalign(&memory, kHugePage, rounded) != 0) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(memory, rounded, MADV_HUGEPAGE);  // advice only: fine if refused
#endif
  } else {
    memory = std::malloc(bytes);
    if (!memory) throw std::bad_alloc();
  }
  return memory;
}

void freeLarge(void* memory) noexcept { std::free(memory); }

BlockPool::BlockPool(std::size_t blockSize, std::size_t count) : blockSize_(blockSize) {
  const std::size_t stride = blockSize + kGuard;
  try {
    memory_ = static_cast<char*>(allocateLarge(stride * count));
    free_.reserve(count);
  } catch (const std::bad_alloc&) {
    freeLarge(memory_);
    memory_ = nullptr;
    return;
  }
  tableBytes_ = stride * count;
  ASAN_POISON_MEMORY_REGION(memory_, tableBytes_);
  // Lent from the start of the table on, so a small run touches its first
  // pages only.
  for (std::size_t k = count; k-- > 0;) free_.push_back(memory_ + k * stride);
}

BlockPool::~BlockPool() {
  if (memory_) ASAN_UNPOISON_MEMORY_REGION(memory_, tableBytes_);
  freeLarge(memory_);
}

char* BlockPool::take() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (free_.empty()) return nullptr;
  char* block = free_.back();
  free_.pop_back();
  ASAN_UNPOISON_MEMORY_REGION(block, blockSize_);
  return block;
}

void BlockPool::give(char* block) {
  std::lock_guard<std::mutex> lock(mutex_);
  ASAN_POISON_MEMORY_REGION(block, blockSize_);
  free_.push_back(block);  // never beyond its reserved room: only lent blocks come back
}

}  // namespace common
