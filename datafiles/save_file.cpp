#include "datafiles/save_file.h"

#include "app/state/form1.h"
#include "platform/number_format.h"

namespace kv {

bool open_save_file(Form1& f, const std::string& path, std::int32_t n, std::string_view kind,
                    std::string* error) {
  int slot = f.files.free_file();
  OutputFile& out = f.files.open_output(slot);
  if (!out.open(path)) {
    std::string why = out.error();
    f.files.close(slot, false);
    f.sys.dialogs.message(why, "File error", MsgIcon::Critical);
    if (error) *error = why;
    return false;
  }
  // After a write error the lines recorded so far are kept beside the chosen file; the
  // two header lines alone are not worth keeping.
  out.keep_incomplete(2);
  f.save_file_number = static_cast<i16>(slot);
  if (!out.print_line(format_print_integer(n)) || !out.print_line(kind)) {
    f.sys.dialogs.message(out.error(), "File error", MsgIcon::Critical);
    if (error) *error = out.error();
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

bool terminate_file(Form1& f, std::string* error) {
  if (f.save_file_number == 0) return true;
  OutputFile* out = f.files.output(f.save_file_number);
  if (!out) return true;
  const bool ok = out->commit();
  const std::string text = ok ? std::string() : out->error() + "\n" + out->what_was_kept();
  f.files.close(f.save_file_number, false);
  f.save_file_number = 0;
  if (!ok) {
    f.sys.dialogs.message(text, "File error", MsgIcon::Critical);
    if (error) *error = text;
  }
  return ok;
}

void discard_save_file(Form1& f) {
  if (f.save_file_number == 0) return;
  f.files.close(f.save_file_number, false);
  f.save_file_number = 0;
}

}  // namespace kv
