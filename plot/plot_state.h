// What the plots own: the picture surfaces, the point being plotted, and the tables of
// plotted points the printed page is drawn from.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "platform/surface.h"
#include "platform/vb_numeric.h"
#include "plot/plot_view.h"

namespace kv {

// Rows 0..1,000,000 of three columns (column 0 unused), as the printed page reads them.
// Every row reads as 0 until it is written. The whole table is reserved at its first write
// as one block the system zero-fills page by page on first touch (calloc of a block this
// large is a fresh mapping), so a command that uses a few thousand rows pays in memory for
// those rows' pages only, nothing is copied or zero-filled as the run goes on, and a
// command that writes no row reserves nothing. allocated_rows() counts the rows in use:
// those a write has reached, rounded up as when the table grew by doubling (at least 4096,
// then doubling up to the whole table); a row beyond them costs one comparison to find.
template <typename T>
class PointTable {
 public:
  static constexpr int kRows = 1000001;
  PointTable() = default;
  PointTable(const PointTable&) = delete;
  PointTable& operator=(const PointTable&) = delete;
  T& at(int row, int col) {
    if (row >= rows_) grow(row);
    return data_.get()[static_cast<std::size_t>(row) * 3 + col];
  }
  T at(int row, int col) const {
    return row < rows_ ? data_.get()[static_cast<std::size_t>(row) * 3 + col] : T{};
  }
  // Every row reads 0 again; the block goes back to the system.
  void clear() {
    data_.reset();
    rows_ = 0;
    capacity_ = 0;
  }
  // Rows in use so far (see above); their pages at most are resident.
  int allocated_rows() const { return rows_; }

 private:
  struct Free {
    void operator()(T* p) const { std::free(p); }
  };
  void grow(int row) {
    // A row past the table's end (no caller writes one) gets a larger block: it still
    // reads back what was written.
    if (!data_ || row >= capacity_) {
      const int capacity = row < kRows ? kRows : row + 1;
      const std::size_t size = static_cast<std::size_t>(capacity) * 3;
      std::unique_ptr<T, Free> block(static_cast<T*>(std::calloc(size, sizeof(T))));
      if (!block) throw std::bad_alloc();
      if (data_)
        std::memcpy(block.get(), data_.get(), static_cast<std::size_t>(capacity_) * 3 * sizeof(T));
      data_ = std::move(block);
      capacity_ = capacity;
    }
    int rows = rows_ < 4096 ? 4096 : rows_ * 2;
    if (rows > kRows) rows = kRows;
    if (rows <= row) rows = row + 1;
    rows_ = rows;
  }
  std::unique_ptr<T, Free> data_;
  int rows_ = 0;
  int capacity_ = 0;  // rows of the block
};

// Design geometry of the picture surfaces, in twips of the 1024 x 768 layout.
inline constexpr int kPicture1Width = 6615, kPicture1Height = 5790;
inline constexpr int kPicture2Width = 6255, kPicture2Height = 5775;
inline constexpr int kPicture4Width = 1215, kPicture4Height = 1095;
inline constexpr int kSurfaceBorderPx = 2;

// The row of a plot surface's zero-velocity axis: half its outer height in whole twips.
// Both plots draw their red centre line there and every source (acquisition, simulation,
// a stored file) places V = 0 on it, V upward 10 twips per unit.
inline double zero_velocity_y(const Surface& s) {
  return clng(s.Height()) / 2;
}

struct PlotState {
  PlotState()
      : Picture1(kPicture1Width, kPicture1Height, kSurfaceBorderPx, kWindowBackground, kWindowText),
        Picture2(kPicture2Width, kPicture2Height, kSurfaceBorderPx, 0xFFFFFF, kWindowText),
        Picture4(kPicture4Width, kPicture4Height, 0, kWindowBackground, kWindowText) {}
  PlotState(const PlotState&) = delete;
  PlotState& operator=(const PlotState&) = delete;

  Surface Picture1;  // phase-plane plot, also the spectrum plot
  Surface Picture2;  // Poincare plot
  Surface Picture4;  // title mark

  // The parts of the screen around the surfaces; a view that shows nothing until the
  // window (or a test) gives its own.
  PlotView* view = &no_view;

  i16 cycle_number = 0;        // range factor: 0, 2, 4, 8, 16 or 32
  i32 number_of_points = 0;    // N of a recording or simulation
  vb_bool plot_flag = kFalse;  // a file plot or simulation is (or was just) running

  // The point being plotted.
  i16 phase_counts = 0;   // angle, 4000 counts per revolution
  i32 phase_y = 0;        // vertical position on the phase plot
  double poincare_y = 0;  // vertical position on the Poincare plot
  double plot_x = 0;      // horizontal position of the point last placed
  double marker_x = 0;    // where the Poincare plot's marker cross is
  i32 marker_y = 0;
  // Revolution counts of the samples in the decoder's window; slot 3 is the plotted
  // point's, which places it on a phase plot of more than one turn.
  i32 revolution_slots[10] = {};

  // The tables the printed page reads.
  i32 cnt = 0;           // row of orbit_points last written
  i32 poincare_cnt = 0;  // row of poincare_points last written
  PointTable<i32> orbit_points;
  PointTable<i16> poincare_points;

 private:
  NoPlotView no_view;
};

}  // namespace kv
