// A whole data file read into columns, for callers that want every value at once (the
// Python module's `read`): an orbit file (*.pha: time, phase, velocity, revolutions), a
// Poincare file (*.poi: phase, velocity) or a spectrum file (*.fft: frequency, power),
// recognised by its second line as Plot file recognises it. Items are read as Plot file
// reads them (list input: separated by blanks, tabs or line ends, one comma after an item
// consumed, an empty item or a lone point reads as 0, numbers by std::from_chars), in
// double precision, but a spectrum's power, which is read directly in single precision.
// The file is read in a window of whole lines of bounded size (mapped on Windows), and
// the columns grow by reallocation (large blocks are remapped, not copied), so the memory
// taken is close to that of the columns alone; on Linux large columns ask for huge pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace kv {
class RunControl;

enum class DataFileKind { orbit, poincare, spectrum };

// One column's values: doubles, or floats for a spectrum's power. The storage comes from
// malloc, so that a caller can hand it on to an owner that frees it.
struct DataColumn {
  struct Free {
    void operator()(void* p) const { std::free(p); }
  };
  std::unique_ptr<void, Free> data;
  bool single = false;  // float rather than double
};

struct DataFileColumns {
  DataFileKind kind = DataFileKind::orbit;
  std::int32_t count = 0;  // the header's point (or spectrum line) count
  std::string window;      // a spectrum file's window name (its third line)
  std::vector<DataColumn> columns;
  std::size_t records = 0;  // values in each column
};

// Why a file was refused: the reason as the program's readers give it ("line 12: \"1.2x\"
// is not a number") and its line (0 when it is about the whole file).
struct DataFileError {
  std::string reason;
  int line = 0;
};

// Storage for a column of `size` bytes from the C library's allocator (free and realloc
// take it; null when memory runs out); a large one asks for huge pages on Linux.
void* allocate_column(std::size_t size);

// Reads the file at `path`. False with `error` set when it cannot be read, is not one of
// the three kinds, or an item is not a number; a spectrum file must hold the lines Plot
// file reads. `run` is asked about HALT every 65536 records; a halt returns false with an
// empty reason.
bool read_data_file_columns(const std::string& path, DataFileColumns& out, DataFileError& error,
                            RunControl& run);

}  // namespace kv
