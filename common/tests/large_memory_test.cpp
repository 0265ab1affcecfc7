// Large tables keep their values as they grow past the size from which their
// memory starts on a 2 MiB boundary (where the kernel may give huge pages).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/large_memory.h"

using common::LargeAllocator;

TEST(LargeMemory, ValuesKeptAcrossGrowthAndLargeTablesAlignedForHugePages) {
  const auto value = [](std::uint32_t i) { return i * 2654435761u; };
  std::vector<std::uint32_t, LargeAllocator<std::uint32_t>> table;
  for (std::uint32_t i = 0; i < (std::uint32_t{3} << 20) / 4; ++i) table.push_back(value(i));
  for (std::uint32_t i = 0; i < table.size(); ++i) ASSERT_EQ(table[i], value(i)) << i;
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(table.data()) % (std::uintptr_t{2} << 20), 0u);
  table.resize(10);
  table.shrink_to_fit();
  EXPECT_EQ(table[9], value(9));
}
