// The window's geometry in one place: where every control sits in the 1024 x 768 design,
// in twips (15 per design pixel), relative to its container (a frame, or the window), as
// the controls of the design are placed. The window scales all of it uniformly.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "app/state/controls.h"

namespace kv::layout {

inline constexpr int kTwips = 15;
inline constexpr int kDesignWidthPx = 1024;
inline constexpr int kDesignHeightPx = 768;

struct TwipRect {
  int left = 0, top = 0, width = 0, height = 0;
};

// What kind of widget shows a control.
enum class Kind {
  PanelButton,  // text box used as a button: centred caption, sunken border
  Frame,        // frame with an etched border and a caption
  LabelGroup,   // borderless frame holding axis labels
  Surface,      // picture surface painted from its raster
  TextBox,      // text box used to show text (sunken border)
  Label,        // borderless text
  Vertical,     // axis title written bottom to top
  Backdrop,     // background picture behind the Poincare plot area
  ScrollBar,
  List,
  Edit,
  Check,
  Push,
  Unused,  // present in the model but never placed on the screen
};

enum class Align { Left, Center, Right };

inline constexpr Ctl kWindow = Ctl::kCount;  // "parent" of controls placed on the window

struct ControlPlace {
  Ctl ctl;
  Ctl parent;
  TwipRect rect;
  Kind kind;
  double font_pt = 8.25;
  bool bold = false;
  Align align = Align::Center;
};

// Fixed texts that are part of the design but never change (axis labels, panel row
// captions and units). `name` is the design name where a handler needs it ("Text57").
struct FixedText {
  const char* name;
  Ctl parent;
  TwipRect rect;
  std::string_view text;
  std::uint32_t color;  // 0x00BBGGRR
  Align align = Align::Center;
  bool bold = false;
  double font_pt = 8.25;
};

std::span<const ControlPlace> controls();
std::span<const FixedText> fixed_texts();
const ControlPlace* find(Ctl c);

// The status text (Text58) under the start-up notice while the start-up screen is shown;
// afterwards, when commands report in it, across the free area above the phase plot.
inline constexpr TwipRect kStatusRect{450, 2640, 6600, 1020};

// "Sweep…" in the simulation panel (Frame21), right of "Cancel"; a button of the window,
// not a control of the design.
inline constexpr TwipRect kSweepButton{4965, 5085, 1020, 420};

// A control's rectangle in window twips (its container's position added).
TwipRect absolute(Ctl c);
TwipRect absolute(const FixedText& t);

// Colours of the window itself: the form, and the axis titles.
inline constexpr std::uint32_t kFormColor = 0xECECEC;
inline constexpr std::uint32_t kBlue = 0xFF0000;

}  // namespace kv::layout
