// The plots' parts as the window's controls: which control each part is, and the range
// chooser as the scroll bar HScroll1.
#pragma once

#include "app/state/controls.h"
#include "plot/plot_view.h"

namespace kv {

// The control that shows a plot part.
Ctl control_of(PlotPart part);

class ControlsPlotView final : public PlotView {
 public:
  explicit ControlsPlotView(Controls& ui) : ui_(ui) {}
  void show(PlotPart part, bool visible) override { ui_.set_visible(control_of(part), visible); }
  void set_title(PlotPart part, std::string_view text) override {
    ui_.set_text(control_of(part), text);
  }
  int range_value() const override { return ui_[Ctl::HScroll1].value; }
  void set_range_value(int value) override { ui_.set_value(Ctl::HScroll1, value); }

 private:
  Controls& ui_;
};

}  // namespace kv
