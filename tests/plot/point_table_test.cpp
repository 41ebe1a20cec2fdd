// The point tables of the window object: rows read as 0 until written, and only the rows
// used are allocated.
#include <gtest/gtest.h>

#include "app/state/form1.h"

namespace kv {
namespace {

TEST(PointTable, RowsAreAllocatedAsTheyAreUsedAndReadAsZeroBefore) {
  PointTable<i32> t;
  EXPECT_EQ(t.allocated_rows(), 0);
  const PointTable<i32>& view = t;
  EXPECT_EQ(view.at(PointTable<i32>::kRows - 1, 2), 0);
  EXPECT_EQ(t.allocated_rows(), 0) << "reading does not allocate";
  // A 3000-point recording: rows 1..3000 written, far fewer than a million allocated.
  for (int row = 1; row <= 3000; ++row) t.at(row, 1) = row, t.at(row, 2) = -row;
  EXPECT_GE(t.allocated_rows(), 3001);
  EXPECT_LE(t.allocated_rows(), 8192);
  EXPECT_EQ(t.at(3001, 1), 0);
  // Growing keeps what was written; the last row of the table can be used.
  t.at(PointTable<i32>::kRows - 1, 2) = 7;
  EXPECT_EQ(t.allocated_rows(), PointTable<i32>::kRows);
  EXPECT_EQ(t.at(3000, 1), 3000);
  EXPECT_EQ(t.at(1, 2), -1);
  EXPECT_EQ(t.at(500000, 1), 0);
  EXPECT_EQ(view.at(PointTable<i32>::kRows - 1, 2), 7);
  t.clear();
  EXPECT_EQ(t.at(3000, 1), 0);
  EXPECT_EQ(view.at(PointTable<i32>::kRows - 1, 2), 0);
}

}  // namespace
}  // namespace kv
