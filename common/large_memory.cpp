#include "common/large_memory.h"

#include <sys/mman.h>

#include <cstdlib>

namespace common {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLarge = std::size_t{1} << 20;
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

}  // namespace common
