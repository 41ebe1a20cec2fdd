#include "app/state/controls_plot_view.h"

namespace kv {

Ctl control_of(PlotPart part) {
  switch (part) {
    case PlotPart::phase_plot:
      return Ctl::Picture1;
    case PlotPart::phase_velocity_scale:
      return Ctl::Frame5;
    case PlotPart::phase_angle_scale:
      return Ctl::Frame8;
    case PlotPart::phase_velocity_title:
      return Ctl::Image1;
    case PlotPart::phase_title:
      return Ctl::Label3;
    case PlotPart::poincare_plot:
      return Ctl::Picture2;
    case PlotPart::poincare_title:
      return Ctl::Label2;
    case PlotPart::poincare_angle_scale:
      return Ctl::Frame9;
    case PlotPart::poincare_velocity_scale:
      return Ctl::Frame10;
    case PlotPart::poincare_velocity_title:
      return Ctl::Image2;
    case PlotPart::spectrum_frequency_scale:
      return Ctl::Frame12;
    case PlotPart::spectrum_power_scale:
      return Ctl::Frame13;
    case PlotPart::spectrum_power_title:
      return Ctl::Image3;
    case PlotPart::range_scroll:
      return Ctl::HScroll1;
    case PlotPart::range_text:
      return Ctl::Text3;
    case PlotPart::parameter_panel:
      return Ctl::Frame21;
  }
  return Ctl::Picture1;
}

}  // namespace kv
