// The data file a command is writing: whether lines are being saved, of which kind, and
// the file's number in the open-file table.
#pragma once

#include <string>

#include "platform/vb_numeric.h"

namespace kv {

struct SaveState {
  vb_bool saving = kFalse;        // data lines are being written
  vb_bool saving_orbit = kFalse;  // the lines are orbit lines (else Poincare lines)
  i16 save_file_number = 0;       // the file's number in the FileTable, 0 when none
  std::string save_file_name;
  // The file fills at the pace of a clock (a recording, a real-time simulation): it is
  // written as a visible NAME.partial.EXT flushed at least once a second, so that a crash
  // keeps its lines, and renamed to NAME when the run ends well.
  bool real_time_file = false;
};

}  // namespace kv
