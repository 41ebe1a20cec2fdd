// The parts of the screen the plots occupy, as the engines that draw them see them: the
// engines show and hide these parts, set the plots' titles and have what they drew shown
// through a PlotView, and the window decides which of its controls each part is and when
// it repaints. Engines never see the window's controls.
#pragma once

#include <string_view>

namespace kv {

enum class PlotPart {
  phase_plot,                // the phase-plane surface (the spectrum is drawn there too)
  phase_velocity_scale,      // the velocity labels left of the phase plot
  phase_angle_scale,         // the angle labels below the phase plot (a range of one turn)
  phase_velocity_title,      // the velocity axis title of the phase plot
  phase_title,               // the phase plot's title ("Phase plot", "Fourier Spectrum")
  poincare_plot,             // the Poincare surface
  poincare_title,            // the Poincare plot's title
  poincare_angle_scale,      // the angle labels below the Poincare plot
  poincare_velocity_scale,   // the velocity labels left of the Poincare plot
  poincare_velocity_title,   // the velocity axis title of the Poincare plot
  spectrum_frequency_scale,  // the frequency labels below the spectrum
  spectrum_power_scale,      // the power labels left of the spectrum
  spectrum_power_title,      // the power axis title of the spectrum
  range_scroll,              // the range chooser of the phase plot
  range_text,                // the number of turns the range chooser shows
  parameter_panel,           // the simulation's parameter panel, in the Poincare plot's place
};

class PlotView {
 public:
  virtual ~PlotView() = default;
  virtual void show(PlotPart part, bool visible) = 0;
  // Sets the text of a title part (phase_title, poincare_title).
  virtual void set_title(PlotPart part, std::string_view text) = 0;
  // The range chooser's position: 0 for one turn, k for 2^k + 1 turns.
  virtual int range_value() const = 0;
  virtual void set_range_value(int value) = 0;
  // Makes everything drawn and shown so far visible now, before a long stretch of work
  // (the window repaints); a view without a screen does nothing.
  virtual void show_drawn() {}
};

// A view with nothing to show: parts are remembered only as far as the range goes. For
// engines run without a screen of their own.
class NoPlotView final : public PlotView {
 public:
  void show(PlotPart, bool) override {}
  void set_title(PlotPart, std::string_view) override {}
  int range_value() const override { return range_; }
  void set_range_value(int value) override { range_ = value; }

 private:
  int range_ = 0;
};

}  // namespace kv
