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

// Every control of the design, by its design name, in one list: the enum `Ctl` and the
// names are made from it, and the control table (control_table.h) holds one row per entry
// in this order, which a compile-time check holds it to.
#define KV_CONTROLS(X)                                               \
  /* Panel buttons (text boxes used as buttons) and their frames. */ \
  X(Text10)                                                          \
  X(Text13)                                                          \
  X(Text14)                                                          \
  X(Text18)                                                          \
  X(Text7)                                                           \
  X(Text11)                                                          \
  X(Text12)                                                          \
  X(Text8)                                                           \
  X(Text15)                                                          \
  X(Text16)                                                          \
  X(Text17)                                                          \
  X(Text9)                                                           \
  X(help)                                                            \
  X(Command6)                                                        \
  X(Frame2)                                                          \
  X(Frame4)                                                          \
  X(Frame3)                                                          \
  /* Start-up screen. */                                             \
  X(Text1)                                                           \
  X(Text2)                                                           \
  X(Text58)                                                          \
  X(Picture3)                                                        \
  X(Picture4)                                                        \
  X(Picture5)                                                        \
  /* Plots, their label groups, titles and axis pictures. */         \
  X(Picture1)                                                        \
  X(Picture2)                                                        \
  X(Frame5)                                                          \
  X(Frame8)                                                          \
  X(Frame9)                                                          \
  X(Frame10)                                                         \
  X(Frame12)                                                         \
  X(Frame13)                                                         \
  X(Label2)                                                          \
  X(Label3)                                                          \
  X(Image1)                                                          \
  X(Image2)                                                          \
  X(Image3)                                                          \
  X(Text39)                                                          \
  /* Range control. */                                               \
  X(HScroll1)                                                        \
  X(Text3)                                                           \
  /* FFT window list and the analysis texts. */                      \
  X(List1)                                                           \
  X(Label6)                                                          \
  X(Text67)                                                          \
  X(Text68)                                                          \
  /* Simulation parameter panel. */                                  \
  X(Frame21)                                                         \
  X(label26)                                                         \
  X(Text27)                                                          \
  X(Text26)                                                          \
  X(Text21)                                                          \
  X(Text22)                                                          \
  X(Text23)                                                          \
  X(Text19)                                                          \
  X(Text24)                                                          \
  X(Text25)                                                          \
  X(Text69)                                                          \
  X(Frame6)                                                          \
  X(Check1)                                                          \
  X(Check2)                                                          \
  X(Frame7)                                                          \
  X(Check3)                                                          \
  X(Check4)                                                          \
  X(Command21)                                                       \
  X(Command1)

#define KV_CONTROL_ENUMERATOR(name) name,
enum class Ctl : int { KV_CONTROLS(KV_CONTROL_ENUMERATOR) kCount };
#undef KV_CONTROL_ENUMERATOR

inline constexpr int kControlCount = static_cast<int>(Ctl::kCount);

#define KV_CONTROL_NAME(name) #name,
inline constexpr std::string_view kControlNames[] = {KV_CONTROLS(KV_CONTROL_NAME)};
#undef KV_CONTROL_NAME

// The design name of a control.
constexpr std::string_view control_name(Ctl c) {
  return kControlNames[static_cast<int>(c)];
}

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
