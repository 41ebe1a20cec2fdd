// The point tables of the window object: rows read as 0 until written, and only the rows
// used are allocated.
#include <gtest/gtest.h>

#include "app/state/form1.h"

namespace kv {
namespace {

// The table is one block reserved at the first write: every row, near or far from those
// written, of either element type, reads 0 until written, before and after the rows in use
// grow and after clear() gives the block back; a write then reserves a fresh block.
template <typename T>
void check_rows_read_zero_until_written() {
  PointTable<T> t;
  const PointTable<T>& view = t;
  EXPECT_EQ(view.at(PointTable<T>::kRows - 1, 2), 0);
  EXPECT_EQ(t.allocated_rows(), 0) << "reading does not allocate";
  constexpr int kLast = PointTable<T>::kRows - 1;
  const int probes[] = {0, 1, 4095, 4096, 4097, 8191, 8192, 65535, 65536, 500000, kLast};
  auto all_zero_but = [&](int written_row, int written_col) {
    for (int row : probes)
      for (int col = 0; col < 3; ++col) {
        if (row == written_row && col == written_col) continue;
        if (view.at(row, col) != 0) return false;
      }
    return true;
  };
  // The first write reserves; the rows a write never reached read 0 through either at().
  t.at(2, 1) = 5;
  EXPECT_EQ(t.allocated_rows(), 4096);
  EXPECT_TRUE(all_zero_but(2, 1));
  EXPECT_EQ(t.allocated_rows(), 4096) << "reading through the const at() does not allocate";
  for (int row : probes) {
    for (int col = 0; col < 3; ++col) {
      if (!(row == 2 && col == 1)) {
        EXPECT_EQ(t.at(row, col), 0) << row << "," << col;
      }
    }
  }
  EXPECT_EQ(t.allocated_rows(), PointTable<T>::kRows) << "reading through the non-const at() "
                                                         "counts the rows as in use";
  EXPECT_EQ(view.at(2, 1), 5) << "growing keeps what was written";
  // Writes at every probe row read back, their neighbours stay 0.
  for (int row : probes) t.at(row, 2) = static_cast<T>(row % 1000 + 1);
  for (int row : probes) {
    EXPECT_EQ(view.at(row, 2), static_cast<T>(row % 1000 + 1));
    EXPECT_EQ(view.at(row, 0), 0);
    if (row != 2) {
      EXPECT_EQ(view.at(row, 1), 0);
    }
  }
  EXPECT_EQ(view.at(3, 2), 0);
  EXPECT_EQ(view.at(kLast - 1, 2), 0);
  // clear(): nothing in use, everything reads 0, and the next write starts from zeros.
  t.clear();
  EXPECT_EQ(t.allocated_rows(), 0);
  EXPECT_TRUE(all_zero_but(-1, -1));
  t.at(kLast, 1) = 9;
  EXPECT_EQ(t.allocated_rows(), PointTable<T>::kRows);
  EXPECT_TRUE(all_zero_but(kLast, 1));
  EXPECT_EQ(view.at(kLast, 1), 9);
  t.clear();
  t.at(1, 1) = 3;
  EXPECT_EQ(t.allocated_rows(), 4096);
  EXPECT_TRUE(all_zero_but(1, 1));
  EXPECT_EQ(view.at(kLast, 1), 0) << "rows beyond those in use read 0";
}

TEST(PointTable, EveryRowReadsZeroUntilWrittenAfterGrowthAndAfterClear) {
  check_rows_read_zero_until_written<i32>();
  check_rows_read_zero_until_written<i16>();
}

// No caller writes past the table's end, but a row there is kept as before: it reads back,
// and so does every row written earlier.
TEST(PointTable, ARowPastTheEndGetsALargerBlockKeepingTheRows) {
  PointTable<i32> t;
  t.at(10, 1) = 4;
  t.at(PointTable<i32>::kRows - 1, 2) = 6;
  t.at(PointTable<i32>::kRows + 10, 1) = 8;
  EXPECT_EQ(t.allocated_rows(), PointTable<i32>::kRows + 11);
  const PointTable<i32>& view = t;
  EXPECT_EQ(view.at(10, 1), 4);
  EXPECT_EQ(view.at(PointTable<i32>::kRows - 1, 2), 6);
  EXPECT_EQ(view.at(PointTable<i32>::kRows + 10, 1), 8);
  EXPECT_EQ(view.at(PointTable<i32>::kRows + 5, 1), 0);
  EXPECT_EQ(view.at(PointTable<i32>::kRows + 11, 1), 0);
}

}  // namespace
}  // namespace kv
