#include "app/window/layout.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/state/control_table.h"

namespace kv::layout {

namespace {
using C = Ctl;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRedText = 0x0000FF;

std::vector<ControlPlace> make_controls() {
  std::vector<ControlPlace> v = {
      // Background pictures behind the Poincare plot area; the plot and the simulation
      // panel are drawn over them.
      {C::Picture3, kWindow, {8130, 570, 6255, 5775}, Kind::Backdrop},
      {C::Picture5, kWindow, {8130, 570, 6255, 5775}, Kind::Backdrop},

      // The plots and the labels around them.
      {C::Picture1, kWindow, {840, 4155, 6615, 5790}, Kind::Surface},
      {C::Picture2, kWindow, {8130, 570, 6255, 5775}, Kind::Surface},
      {C::Frame5, kWindow, {465, 4170, 325, 5775}, Kind::LabelGroup},
      {C::Frame8, kWindow, {630, 9990, 7425, 405}, Kind::LabelGroup},
      {C::Frame13, kWindow, {510, 3900, 300, 6195}, Kind::LabelGroup},
      {C::Frame12, kWindow, {795, 10005, 7170, 450}, Kind::LabelGroup},
      {C::Frame10, kWindow, {7605, 645, 435, 5955}, Kind::LabelGroup},
      {C::Frame9, kWindow, {8070, 6495, 6495, 480}, Kind::LabelGroup},
      {C::Label3, kWindow, {2175, 3720, 2415, 375}, Kind::Label, 9.75, true},
      {C::Label2, kWindow, {10320, 7080, 1665, 375}, Kind::Label, 9.75, true},
      // Vertical axis titles: 32 x 234, 32 x 234 and 20 x 103 pixels.
      {C::Image1, kWindow, {0, 5295, 465, 3510}, Kind::Vertical, 8.25, true},
      {C::Image2, kWindow, {7125, 615, 480, 3510}, Kind::Vertical, 8.25, true},
      {C::Image3, kWindow, {105, 6290, 300, 1545}, Kind::Vertical, 8.25, true},
      {C::Text39, kWindow, {11250, 9090, 3600, 360}, Kind::TextBox},

      // Range control, FFT window list, analysis status.
      {C::HScroll1, kWindow, {8175, 9930, 2100, 255}, Kind::ScrollBar},
      {C::Text3, kWindow, {10380, 9915, 540, 285}, Kind::TextBox},
      {C::Label6, kWindow, {8400, 7650, 2700, 255}, Kind::Label, 8.25, false, Align::Left},
      {C::List1, kWindow, {8400, 7950, 1800, 990}, Kind::List},
      {C::Text67, kWindow, {11250, 7650, 3600, 900}, Kind::TextBox, 8.25, false, Align::Left},
      {C::Text68, kWindow, {11250, 8640, 3600, 360}, Kind::TextBox, 8.25, false, Align::Left},

      // The panel.
      {C::Frame2, kWindow, {600, 10440, 3375, 720}, Kind::Frame},
      {C::Text10, C::Frame2, {135, 240, 975, 360}, Kind::PanelButton},
      {C::Text13, C::Frame2, {1080, 240, 1095, 360}, Kind::PanelButton},
      {C::Text14, C::Frame2, {2160, 240, 1095, 360}, Kind::PanelButton},
      {C::Frame4, kWindow, {4080, 10425, 4575, 720}, Kind::Frame},
      {C::Text18, C::Frame4, {240, 240, 1095, 360}, Kind::PanelButton, 9.75, true},
      {C::Text7, C::Frame4, {1320, 240, 1095, 360}, Kind::PanelButton},
      {C::Text11, C::Frame4, {2415, 240, 975, 360}, Kind::PanelButton},
      {C::Text12, C::Frame4, {3360, 240, 1095, 360}, Kind::PanelButton},
      {C::Frame3, kWindow, {8880, 10440, 5775, 720}, Kind::Frame},
      {C::Text8, C::Frame3, {135, 255, 920, 360}, Kind::PanelButton},
      {C::Text15, C::Frame3, {1035, 255, 920, 360}, Kind::PanelButton},
      {C::Text16, C::Frame3, {1950, 255, 920, 360}, Kind::PanelButton},
      {C::Text17, C::Frame3, {2835, 255, 920, 360}, Kind::PanelButton},
      {C::Text9, C::Frame3, {3720, 255, 920, 360}, Kind::PanelButton},
      {C::help, C::Frame3, {4620, 255, 920, 360}, Kind::PanelButton},
      // "plot and save Poincare data" has no action; it is kept out of sight.
      {C::Command6, kWindow, {0, 0, 0, 0}, Kind::Unused},

      // Start-up screen, centred under the title mark.
      {C::Picture4, kWindow, {5865, 465, 1215, 1095}, Kind::Surface},
      {C::Text1, kWindow, {2730, 1650, 7500, 360}, Kind::Label, 13.5, true},
      {C::Text2, kWindow, {3180, 2070, 6600, 1290}, Kind::TextBox},
      {C::Text58, kWindow, {4380, 3405, 3735, 300}, Kind::Label, 9.75, true},

      // The simulation parameter panel over the Poincare plot area.
      {C::Frame21, kWindow, {8205, 615, 6105, 5685}, Kind::Frame, 8.25, true},
      {C::label26, C::Frame21, {120, 735, 2100, 300}, Kind::Label, 8.25, false, Align::Right},
      {C::Frame6, C::Frame21, {150, 3930, 2820, 1020}, Kind::Frame},
      {C::Check1, C::Frame6, {180, 270, 2500, 300}, Kind::Check},
      {C::Check2, C::Frame6, {180, 600, 2500, 300}, Kind::Check},
      {C::Frame7, C::Frame21, {3135, 3930, 2820, 1020}, Kind::Frame},
      {C::Check3, C::Frame7, {180, 270, 2500, 300}, Kind::Check},
      {C::Check4, C::Frame7, {180, 600, 2500, 300}, Kind::Check},
      {C::Command21, C::Frame21, {1260, 5085, 1500, 420}, Kind::Push},
      {C::Command1, C::Frame21, {3345, 5085, 1500, 420}, Kind::Push},
  };
  // The parameter rows' boxes, top to bottom as the control table lists the rows.
  int row = 0;
  for (const ControlRow& r : kControlTable) {
    if (!is_parameter_row(r)) continue;
    v.push_back({r.ctl,
                 C::Frame21,
                 {2310, 330 + 390 * row++, 1860, 315},
                 Kind::Edit,
                 8.25,
                 false,
                 Align::Left});
  }
  return v;
}

// Labels spaced like the plots' velocity lines: 636.6 twips (10 rad/s) apart about a centre.
void velocity_column(std::vector<FixedText>& v, Ctl parent, int centre, int width,
                     const char* const* texts, std::uint32_t color) {
  for (int k = -4; k <= 4; ++k) {
    const int c = centre + static_cast<int>(std::lround(k * 636.6));
    v.push_back({"", parent, {0, c - 105, width, 210}, texts[k + 4], color, Align::Right});
  }
}

std::vector<FixedText> make_fixed() {
  std::vector<FixedText> v;
  // Left of the phase plot: centre of Picture1's inner area relative to Frame5.
  static const char* const kPhaseVel[] = {" 40", " 30", " 20", " 10", "  0",
                                          "-10", "-20", "-30", "-40"};
  velocity_column(v, C::Frame5, 4155 + 30 + 2895 - 4170, 300, kPhaseVel, kBlack);
  // Left of the Poincare plot, in red.
  static const char* const kPoinVel[] = {"40", "30", "20", "10", "  0", "-10", "-20", "-30", "-40"};
  velocity_column(v, C::Frame10, 570 + 30 + 2887 - 645, 405, kPoinVel, kRedText);

  // Under the phase plot: -pi at the left edge, 0 at the centre, pi at the right edge.
  v.push_back({"", C::Frame8, {10, 45, 400, 300}, "-p", kBlack});
  v.push_back({"", C::Frame8, {3317, 45, 400, 300}, "0", kBlack});
  v.push_back({"", C::Frame8, {6625, 45, 400, 300}, "p", kBlack});
  v.push_back({"", C::Frame8, {4200, 45, 1950, 300}, "PHASE (radian)", kBlue});
  // Under the Poincare plot, in red, with the blue axis title.
  v.push_back({"", C::Frame9, {0, 60, 400, 300}, "-p", kRedText});
  v.push_back({"", C::Frame9, {2987, 60, 400, 300}, "0", kRedText});
  v.push_back({"", C::Frame9, {6085, 60, 400, 300}, "p", kRedText});
  v.push_back({"", C::Frame9, {3800, 60, 1950, 300}, "PHASE (radian)", kBlue});

  // Spectrum plot: frequency numbers under the 1610-twip ticks (10 rad/s), one empty box
  // at zero, and the axis title below them.
  static const char* const kFreq[] = {"", "10", "20", "30", "40"};
  for (int k = 0; k < 5; ++k)
    v.push_back(
        {"", C::Frame12, {std::max(0, 75 + 1610 * k - 300), 0, 600, 225}, kFreq[k], kBlack});
  v.push_back({"", C::Frame12, {1500, 225, 1800, 225}, "FREQUENCY", kBlack, Align::Right});
  v.push_back({"Text57", C::Frame12, {3360, 225, 1200, 225}, "(rad/s)", kBlack, Align::Left});
  // Power labels in dB at the 750-twip steps of the power ticks, "60" at the top, each
  // level with the value it names.
  static const char* const kPower[] = {"60", "50", "40", "30", "20", "10", "0", "-10"};
  for (int i = 0; i < 8; ++i) {
    const int c = 4155 + 30 - 3900 + 750 * i - 210;
    v.push_back(
        {"", C::Frame13, {0, c < 105 ? 0 : c - 105, 300, 210}, kPower[i], kBlack, Align::Right});
  }

  // Parameter panel rows: caption and unit beside each box (the inertia row's caption is
  // the control label26).
  int row = 0;
  for (const ControlRow& r : kControlTable) {
    if (!is_parameter_row(r)) continue;
    const int top = 330 + 390 * row++ + 15;
    if (r.ctl != C::Text26)
      v.push_back({"", C::Frame21, {120, top, 2100, 300}, r.box->caption, kBlack, Align::Right});
    v.push_back({"", C::Frame21, {4245, top, 1500, 300}, r.box->unit, kBlack, Align::Left});
  }
  return v;
}

const std::vector<ControlPlace>& place_table() {
  static const std::vector<ControlPlace> t = make_controls();
  return t;
}
const std::vector<FixedText>& fixed_table() {
  static const std::vector<FixedText> t = make_fixed();
  return t;
}
}  // namespace

std::span<const ControlPlace> controls() {
  return place_table();
}
std::span<const FixedText> fixed_texts() {
  return fixed_table();
}

const ControlPlace* find(Ctl c) {
  for (const auto& p : place_table())
    if (p.ctl == c) return &p;
  return nullptr;
}

TwipRect absolute(Ctl c) {
  const ControlPlace* p = find(c);
  if (!p) return {};
  TwipRect r = p->rect;
  if (p->parent != kWindow) {
    const TwipRect o = absolute(p->parent);
    r.left += o.left;
    r.top += o.top;
  }
  return r;
}

TwipRect absolute(const FixedText& t) {
  TwipRect r = t.rect;
  const TwipRect o = absolute(t.parent);
  r.left += o.left;
  r.top += o.top;
  return r;
}

}  // namespace kv::layout
