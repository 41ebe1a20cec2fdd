// "Plot file", "Print" and "Dimension" are not part of this version: each closes the help
// viewer, as every main command does, and says so instead of doing nothing.
#include "app/commands/commands.h"
#include "app/state/form1.h"

namespace kv {

namespace {
void not_yet(Form1& f, const char* what) {
  clear_help(f);
  f.sys.dialogs.message(std::string(what) + " is not available in this version of the program.",
                        "Chaotic pendulum", MsgIcon::Information);
}
}  // namespace

void Text8_Click(Form1& f) {
  not_yet(f, "Plot file");
}
void Text16_Click(Form1& f) {
  not_yet(f, "Print");
}
void Text17_Click(Form1& f) {
  not_yet(f, "Dimension");
}

}  // namespace kv
