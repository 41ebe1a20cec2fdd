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
};

}  // namespace kv
