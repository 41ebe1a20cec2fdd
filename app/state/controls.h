// The window's controls as the commands see them: one record of properties per control,
// named as in the window's design. Commands change these records; the Qt window mirrors
// them (app/window) and tests read them directly.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/colors.h"

namespace kv {

enum class Ctl : int {
  // Panel buttons (text boxes used as buttons) and their frames.
  Text10,
  Text13,
  Text14,
  Text18,
  Text7,
  Text11,
  Text12,
  Text8,
  Text15,
  Text16,
  Text17,
  Text9,
  help,
  Command6,
  Frame2,
  Frame4,
  Frame3,
  // Start-up screen.
  Text1,
  Text2,
  Text58,
  Picture3,
  Picture4,
  Picture5,
  // Plots, their label groups, titles and axis pictures.
  Picture1,
  Picture2,
  Frame5,
  Frame8,
  Frame9,
  Frame10,
  Frame12,
  Frame13,
  Label2,
  Label3,
  Image1,
  Image2,
  Image3,
  Text39,
  // Range control.
  HScroll1,
  Text3,
  // FFT window list and the analysis texts.
  List1,
  Label6,
  Text67,
  Text68,
  // Simulation parameter panel.
  Frame21,
  label26,
  Text27,
  Text26,
  Text21,
  Text22,
  Text23,
  Text19,
  Text24,
  Text25,
  Text69,
  Frame6,
  Check1,
  Check2,
  Frame7,
  Check3,
  Check4,
  Command21,
  Command1,
  kCount
};

inline constexpr int kControlCount = static_cast<int>(Ctl::kCount);

std::string_view control_name(Ctl c);

struct ControlProps {
  bool visible = true;
  bool enabled = true;
  std::uint32_t back_color = 0xFFFFFF;  // 0x00BBGGRR
  std::uint32_t fore_color = 0x000000;
  std::string text;      // text or caption
  int value = 0;         // scroll bar value, list index
  bool checked = false;  // check boxes
  std::string tooltip;   // hover-help text
};

class Controls {
 public:
  Controls();  // the design-time state of every control

  const ControlProps& operator[](Ctl c) const { return props_[static_cast<int>(c)]; }

  // Setters change a property and note the control as changed (cheap when unchanged: a
  // running command's polls set the same properties many thousand times a second).
  void set_visible(Ctl c, bool v) {
    if (props_[static_cast<int>(c)].visible != v) touch(c).visible = v;
  }
  void set_enabled(Ctl c, bool v) {
    if (props_[static_cast<int>(c)].enabled != v) touch(c).enabled = v;
  }
  void set_back(Ctl c, std::uint32_t color);
  void set_fore(Ctl c, std::uint32_t color);
  void set_text(Ctl c, std::string_view text);
  void set_value(Ctl c, int value);
  void set_checked(Ctl c, bool checked);

  // Change tracking for the view: a counter that moves on every change, and a per-control
  // flag the view clears as it applies the change.
  std::uint64_t version() const { return version_; }
  bool changed(Ctl c) const { return dirty_[static_cast<int>(c)]; }
  void clear_changed(Ctl c) { dirty_[static_cast<int>(c)] = false; }

 private:
  ControlProps& touch(Ctl c) {
    ++version_;
    dirty_[static_cast<int>(c)] = true;
    return props_[static_cast<int>(c)];
  }
  std::array<ControlProps, kControlCount> props_;
  std::array<bool, kControlCount> dirty_{};
  std::uint64_t version_ = 0;
};

}  // namespace kv
