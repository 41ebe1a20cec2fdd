#include "datafiles/save_file.h"

#include "platform/number_format.h"
#include "platform/text_files.h"

namespace kv {

bool open_save_file(SaveState& save, FileTable& files, const std::string& path, std::int32_t n,
                    std::string_view kind, std::string* error) {
  int slot = files.free_file();
  OutputFile& out = files.open_output(slot);
  if (!out.open(path)) {
    if (error) *error = out.error();
    files.close(slot, false);
    return false;
  }
  // After a write error the lines recorded so far are kept beside the chosen file; the
  // two header lines alone are not worth keeping.
  out.keep_incomplete(2);
  save.save_file_number = static_cast<i16>(slot);
  if (!out.print_line(format_print_integer(n)) || !out.print_line(kind)) {
    if (error) *error = out.error();
    files.close(slot, false);
    save.save_file_number = 0;
    return false;
  }
  return true;
}

bool write_data_line(const SaveState& save, FileTable& files, std::string_view line) {
  OutputFile* out = files.output(save.save_file_number);
  if (!out) return false;
  if (out->print_line(line)) return true;
  return false;
}

bool terminate_file(SaveState& save, FileTable& files, std::string* error) {
  if (save.save_file_number == 0) return true;
  OutputFile* out = files.output(save.save_file_number);
  if (!out) return true;
  const bool ok = out->commit();
  if (!ok && error) *error = out->error() + "\n" + out->what_was_kept();
  files.close(save.save_file_number, false);
  save.save_file_number = 0;
  return ok;
}

void discard_save_file(SaveState& save, FileTable& files) {
  if (save.save_file_number == 0) return;
  files.close(save.save_file_number, false);
  save.save_file_number = 0;
}

}  // namespace kv
