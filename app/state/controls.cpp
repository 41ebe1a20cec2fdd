#include "app/state/controls.h"

#include "app/state/control_table.h"

namespace kv {

namespace {
// The start-up state, taken from the table while compiling (the handlers it
// also names are not linked here).
struct StartState {
  std::string_view text, tip;
  bool visible;
  std::uint32_t back, fore;
  bool checked;
  int value;
};
constexpr auto kStart = [] {
  std::array<StartState, kControlCount> a{};
  for (int i = 0; i < kControlCount; ++i) {
    const ControlRow& r = kControlTable[i];
    a[i] = {r.text, r.tip, r.visible, r.back, r.fore, r.checked, r.value};
  }
  return a;
}();
}  // namespace

Controls::Controls() {
  for (int i = 0; i < kControlCount; ++i) {
    const StartState& s = kStart[i];
    ControlProps& p = props_[i];
    p.visible = s.visible;
    p.back_color = s.back;
    p.fore_color = s.fore;
    p.text = s.text;
    p.value = s.value;
    p.checked = s.checked;
    p.tooltip = s.tip;
  }
  dirty_.fill(true);
}

void Controls::set_back(Ctl c, std::uint32_t color) {
  if (props_[static_cast<int>(c)].back_color != color) touch(c).back_color = color;
}
void Controls::set_fore(Ctl c, std::uint32_t color) {
  if (props_[static_cast<int>(c)].fore_color != color) touch(c).fore_color = color;
}
void Controls::set_text(Ctl c, std::string_view text) {
  if (props_[static_cast<int>(c)].text != text) touch(c).text.assign(text);
}
void Controls::set_value(Ctl c, int value) {
  if (props_[static_cast<int>(c)].value != value) touch(c).value = value;
}
void Controls::set_checked(Ctl c, bool checked) {
  if (props_[static_cast<int>(c)].checked != checked) touch(c).checked = checked;
}

}  // namespace kv
