// The plots' parts as the window's controls: which control each part is, the range
// chooser as the scroll bar HScroll1, and the window's repaint through its event pump.
#pragma once

#include "app/state/controls.h"
#include "platform/services.h"
#include "plot/plot_view.h"

namespace kv {

// The control that shows a plot part.
Ctl control_of(PlotPart part);

class ControlsPlotView final : public PlotView {
 public:
  ControlsPlotView(Controls& ui, EventPump& pump) : ui_(ui), pump_(pump) {}
  void show(PlotPart part, bool visible) override { ui_.set_visible(control_of(part), visible); }
  void set_title(PlotPart part, std::string_view text) override {
    ui_.set_text(control_of(part), text);
  }
  int range_value() const override { return ui_[Ctl::HScroll1].value; }
  void set_range_value(int value) override { ui_.set_value(Ctl::HScroll1, value); }
  void show_drawn() override { pump_.repaint(); }

 private:
  Controls& ui_;
  EventPump& pump_;
};

}  // namespace kv
