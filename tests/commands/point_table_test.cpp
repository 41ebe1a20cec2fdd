// The print tables: every row reads as zero until written, memory follows the highest row
// written, and clearing zeroes what was written.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/state/form1.h"

using namespace kv;

TEST(PointTable, UnwrittenRowsReadAsZeroAndTakeNoMemory) {
  PointTable<std::int32_t> t;
  const PointTable<std::int32_t>& read_only = t;
  EXPECT_EQ(read_only.at(PointTable<std::int32_t>::kRows - 1, 2), 0);
  EXPECT_EQ(t.allocated_rows(), 0u);
  t.at(3000, 1) = 7;
  EXPECT_LT(t.allocated_rows(), 10000u);  // a 3000-point recording, not a million rows
  EXPECT_EQ(read_only.at(3000, 1), 7);
  EXPECT_EQ(read_only.at(2999, 1), 0);
  EXPECT_EQ(read_only.at(3001, 2), 0);
}

TEST(PointTable, GrowsToTheLastRowAndKeepsWhatWasWritten) {
  PointTable<std::int16_t> t;
  for (int row = 0; row < PointTable<std::int16_t>::kRows; row += 997)
    t.at(row, 2) = static_cast<std::int16_t>(row % 30000);
  t.at(PointTable<std::int16_t>::kRows - 1, 1) = -5;
  EXPECT_EQ(t.allocated_rows(), static_cast<std::size_t>(PointTable<std::int16_t>::kRows));
  for (int row = 0; row < PointTable<std::int16_t>::kRows; row += 997)
    ASSERT_EQ(t.at(row, 2), row % 30000) << row;
  EXPECT_EQ(t.at(PointTable<std::int16_t>::kRows - 1, 1), -5);
  t.clear();
  EXPECT_EQ(t.at(997, 2), 0);
  EXPECT_EQ(t.at(PointTable<std::int16_t>::kRows - 1, 1), 0);
}
