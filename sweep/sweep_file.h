// The sweep file: CSV that pandas, NumPy and gnuplot read as it is. Comment lines ("# ")
// first name everything needed to repeat the run (program version, base panel, swept
// parameters and ranges, transient, kept points, start mode, and the command line when
// the face gives one), then the column names and one row per kept point (orbit diagram:
// parameter,phase,velocity) or per cell (map: x,y,exponent,period; x,exponent,period with
// one axis), in grid order; a last comment line counts the cells that blew up or were
// refused. A cell that blew up has a row with its parameter(s) and empty values (a map's
// period column says "unstable" or "refused"); a map's period is "chaotic" beyond the
// limit. Written through a temporary file that replaces the chosen one only when complete.
#pragma once

#include <string>
#include <string_view>

#include "platform/text_files.h"
#include "sweep/sweep.h"

namespace kv {

// The comment header and the column line, each line ended by LF.
std::string sweep_header(const SweepRequest& r, std::string_view version, std::string_view command);
// Appends the rows of one cell to `out`.
void append_cell_rows(const SweepRequest& r, const SweepCell& c, std::string& out);
// The last line: what the sweep counted.
std::string sweep_summary(const SweepOutcome& o);

class SweepCsv {
 public:
  // Opens the temporary file and writes the header; false with error() set on failure.
  bool open(const std::string& path, const SweepRequest& r, std::string_view version,
            std::string_view command);
  bool write(const SweepCell& c);
  // Writes the summary and moves the file over the chosen path; false with error() set
  // when that failed (the chosen file then stays as it was).
  bool keep(const SweepOutcome& o);
  // Throws the file away; an older file of that name stays.
  void discard() { file_.discard(); }
  std::string error() const;

 private:
  OutputFile file_;
  const SweepRequest* request_ = nullptr;
  std::string rows_;
};

}  // namespace kv
