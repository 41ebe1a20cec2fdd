#include "app/state/form1.h"

#include "datafiles/save_file.h"
#include "platform/start_folder.h"

namespace kv {

Form1::Form1(Services services) : sys(services), program_dir(default_dialog_folder()) {
  view = &plot_view;
}

void Form1::show_status(const std::string& text, std::uint32_t color) {
  ui.set_fore(Ctl::Text58, color);
  ui.set_text(Ctl::Text58, text);
  ui.set_visible(Ctl::Text58, true);
}

void clear_help(Form1& f) {
  f.sys.help.quit();
}

void clear_screen(Form1& f) {
  for (Ctl c :
       {Ctl::Picture1, Ctl::Picture2, Ctl::HScroll1, Ctl::Image1, Ctl::Image2, Ctl::Image3,
        Ctl::Frame5, Ctl::Frame8, Ctl::Frame9, Ctl::Frame10, Ctl::Frame12, Ctl::Frame13,
        Ctl::Label2, Ctl::Label3, Ctl::Text39, Ctl::Text67, Ctl::Frame21, Ctl::List1, Ctl::Label6})
    f.ui.set_visible(c, false);
}

void show_file_error(Form1& f, const std::string& text) {
  f.sys.dialogs.message(text, "File error", MsgIcon::Critical);
}

void close_data_file(Form1& f) {
  std::string error;
  if (!terminate_file(f, &error)) show_file_error(f, error);
}

}  // namespace kv
