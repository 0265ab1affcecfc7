// Large tables keep their values as they grow past the size from which their
// memory starts on a 2 MiB boundary (where the kernel may give huge pages);
// blocks lent out of one table, and text buffers that start in them.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "common/format.h"
#include "common/large_memory.h"

using common::BlockPool;
using common::LargeAllocator;
using common::TextBuffer;

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

namespace {
BlockPool* lender = nullptr;
int givenBack = 0;
void giveBack(char* block) {
  ++givenBack;
  lender->give(block);
}
}  // namespace

TEST(LargeMemory, BlocksLentOnceAtATimeAndTextBuffersGiveThemBackWithTheirBytesKept) {
  constexpr size_t kSize = 1000, kCount = 4;
  BlockPool pool(kSize, kCount);
  lender = &pool;
  std::set<char*> lent;
  for (size_t k = 0; k < kCount; ++k) {
    char* block = pool.take();
    ASSERT_NE(block, nullptr);
    lent.insert(block);
  }
  EXPECT_EQ(lent.size(), kCount);
  for (auto block = lent.begin(); std::next(block) != lent.end(); ++block) {  // one table, not overlapping
    const std::ptrdiff_t apart = *std::next(block) - *block, size = kSize;
    EXPECT_TRUE(apart >= size && apart <= 2 * size) << apart;
  }
  EXPECT_EQ(pool.take(), nullptr);  // all lent
  for (char* block : lent) pool.give(block);

  givenBack = 0;
  std::string expected;
  {
    TextBuffer buffer(pool.take(), kSize, giveBack);
    for (int k = 0; expected.size() < 3 * kSize; ++k) {  // grows out of its block
      const std::string piece = std::to_string(k) + ",";
      buffer.append(piece.data(), piece.size());
      expected += piece;
      if (k == 10) {
        TextBuffer moved(std::move(buffer));  // the block goes with it, the old one is left empty
        EXPECT_EQ(buffer.size(), 0u);
        buffer = std::move(moved);
      }
    }
    EXPECT_EQ(givenBack, 1);
    EXPECT_EQ(buffer.str(), expected);
    TextBuffer stays(pool.take(), kSize, giveBack);
    stays.append("ab", 2);
    EXPECT_EQ(givenBack, 1);
  }
  EXPECT_EQ(givenBack, 2);  // the one still in its block went back when it went
  for (size_t k = 0; k < kCount; ++k) EXPECT_NE(pool.take(), nullptr) << k;  // every block back
  lender = nullptr;
}
