#include "datafiles/save_file.h"

#include "app/state/form1.h"
#include "platform/number_format.h"

namespace kv {

bool open_save_file(Form1& f, const std::string& path, std::int32_t n, std::string_view kind) {
  int slot = f.files.free_file();
  OutputFile& out = f.files.open_output(slot);
  if (!out.open(path)) {
    std::string why = out.error();
    f.files.close(slot, false);
    f.sys.dialogs.message(why, "File error", MsgIcon::Critical);
    return false;
  }
  f.save_file_number = static_cast<i16>(slot);
  if (!out.print_line(format_print_integer(n)) || !out.print_line(kind)) {
    f.sys.dialogs.message(out.error(), "File error", MsgIcon::Critical);
    f.files.close(slot, false);
    f.save_file_number = 0;
    return false;
  }
  return true;
}

bool write_data_line(Form1& f, std::string_view line) {
  OutputFile* out = f.files.output(f.save_file_number);
  if (!out) return false;
  if (out->print_line(line)) return true;
  return false;
}

void terminate_file(Form1& f) {
  if (f.save_file_number == 0) return;
  OutputFile* out = f.files.output(f.save_file_number);
  std::string error;
  bool had_error = out && out->failed();
  if (out && had_error) error = out->error();
  bool ok = f.files.close(f.save_file_number, true, &error);
  f.save_file_number = 0;
  if (!ok || had_error) {
    f.sys.dialogs.message(error + "\nThe lines written before the error are kept.", "File error",
                          MsgIcon::Critical);
  }
}

void discard_save_file(Form1& f) {
  if (f.save_file_number == 0) return;
  f.files.close(f.save_file_number, false);
  f.save_file_number = 0;
}

}  // namespace kv
