#include "simulation/sim_panel.h"

#include <cmath>

#include "app/state/form1.h"
#include "platform/list_input.h"
#include "simulation/model.h"

namespace kv {

namespace {

// The box's value, or `stored` when the box is empty.
double box_value(const std::string& text, double stored) {
  return text.empty() ? stored : leading_number(text);
}

// The text of a panel box.
const std::string& text_of(const PanelTexts& t, Ctl box) {
  switch (box) {
    case Ctl::Text27:
      return t.mgr;
    case Ctl::Text26:
      return t.inertia;
    case Ctl::Text21:
      return t.damping;
    case Ctl::Text22:
      return t.drive_amplitude;
    case Ctl::Text23:
      return t.drive_frequency;
    case Ctl::Text19:
      return t.drive_phase;
    case Ctl::Text24:
      return t.initial_angle;
    case Ctl::Text25:
      return t.initial_velocity;
    default:
      return t.time_out;
  }
}

const char* caption(Ctl box) {
  switch (box) {
    case Ctl::Text27:
      return "mgr=";
    case Ctl::Text26:
      return "Inertia=";
    case Ctl::Text21:
      return "Damping=";
    case Ctl::Text22:
      return "Drive amplitude=";
    case Ctl::Text23:
      return "Drive frequency=";
    case Ctl::Text19:
      return "Drive phase=";
    case Ctl::Text24:
      return "Initial angle=";
    case Ctl::Text25:
      return "Initial velocity=";
    case Ctl::Text69:
      return "Time out=";
    default:
      return "?";
  }
}

std::string describe(const PanelTexts& f, Ctl box) {
  const std::string& text = text_of(f, box);
  if (text.empty()) return "its last value";
  return "\"" + text + "\"";
}

std::string must_be_positive(const PanelTexts& f, Ctl box) {
  return std::string("\"") + caption(box) + "\" must be a number greater than 0 (it holds " +
         describe(f, box) + ").";
}

std::string must_be_number(const PanelTexts& f, Ctl box) {
  return std::string("\"") + caption(box) + "\" must be an ordinary number (it holds " +
         describe(f, box) + ").";
}

std::string too_large(const PanelTexts& f, Ctl box) {
  return std::string("\"") + caption(box) + "\" is too large for the simulation (it holds " +
         describe(f, box) + ").";
}

}  // namespace

PanelTexts panel_texts(const Form1& f) {
  PanelTexts t;
  t.mgr = f.ui[Ctl::Text27].text;
  t.inertia = f.ui[Ctl::Text26].text;
  t.damping = f.ui[Ctl::Text21].text;
  t.drive_amplitude = f.ui[Ctl::Text22].text;
  t.drive_frequency = f.ui[Ctl::Text23].text;
  t.drive_phase = f.ui[Ctl::Text19].text;
  t.initial_angle = f.ui[Ctl::Text24].text;
  t.initial_velocity = f.ui[Ctl::Text25].text;
  t.time_out = f.ui[Ctl::Text69].text;
  return t;
}

PanelReading read_panel(const Form1& f) {
  return read_panel(f, panel_texts(f));
}

std::string check_panel(const Form1& f, const PanelReading& p) {
  return check_panel(panel_texts(f), p);
}

PanelReading read_panel(const Form1& f, const PanelTexts& t) {
  PanelReading p;
  p.mgr = box_value(text_of(t, Ctl::Text27), f.mgr);
  p.inertia = box_value(text_of(t, Ctl::Text26), f.inertia);
  p.omega0 = std::pow(p.mgr / p.inertia, 0.5);
  p.damping = box_value(text_of(t, Ctl::Text21), f.damping);
  p.q_factor = (p.omega0 * p.inertia) / p.damping;
  p.drive_torque = box_value(text_of(t, Ctl::Text22), f.drive_torque);
  p.drive_amplitude = ((p.drive_torque / p.inertia) / p.omega0) / p.omega0;
  p.drive_omega = box_value(text_of(t, Ctl::Text23), f.drive_omega);
  p.drive_frequency = p.drive_omega / p.omega0;
  p.initial_angle = box_value(text_of(t, Ctl::Text24), f.initial_angle);
  p.drive_phase = box_value(text_of(t, Ctl::Text19), 0.0);
  // The velocity box is in rad/s; the stored value is dimensionless. An empty box keeps
  // the stored value as it is.
  const std::string& v = t.initial_velocity;
  p.initial_velocity = v.empty() ? f.initial_velocity : leading_number(v) / p.omega0;
  p.time_out = box_value(text_of(t, Ctl::Text69), 0.0);
  return p;
}

std::string check_panel(const PanelTexts& f, const PanelReading& p) {
  // The three quantities that divide or sit under the square root must be positive.
  if (!(std::isfinite(p.mgr) && p.mgr > 0)) return must_be_positive(f, Ctl::Text27);
  if (!(std::isfinite(p.inertia) && p.inertia > 0)) return must_be_positive(f, Ctl::Text26);
  if (!(std::isfinite(p.damping) && p.damping > 0)) return must_be_positive(f, Ctl::Text21);
  if (!(std::isfinite(p.omega0) && p.omega0 > 0))
    return "\"mgr=\" and \"Inertia=\" are too far apart: mgr / Inertia must be a positive "
           "ordinary number.";
  if (!(std::isfinite(p.q_factor) && p.q_factor > 0)) return must_be_number(f, Ctl::Text21);
  if (!std::isfinite(p.drive_torque) || !std::isfinite(p.drive_amplitude))
    return must_be_number(f, Ctl::Text22);
  if (!std::isfinite(p.drive_omega) || !std::isfinite(p.drive_frequency))
    return must_be_number(f, Ctl::Text23);
  if (!std::isfinite(p.drive_phase)) return must_be_number(f, Ctl::Text19);
  if (!(std::fabs(p.initial_angle) <= kMaxStateMagnitude)) return too_large(f, Ctl::Text24);
  if (!(std::fabs(p.initial_velocity) <= kMaxStateMagnitude)) {
    // The box holds rad/s; the stored value is divided by the natural frequency. When the
    // velocity itself is ordinary, the natural frequency is what is too small.
    if (std::fabs(p.initial_velocity * p.omega0) <= kMaxStateMagnitude)
      return "\"mgr=\" and \"Inertia=\" give a natural frequency (mgr / Inertia)^0.5 too "
             "small for the simulation.";
    return too_large(f, Ctl::Text25);
  }
  if (!std::isfinite(p.time_out)) return must_be_number(f, Ctl::Text69);
  return {};
}

void apply_panel(Form1& f, const PanelReading& p) {
  f.mgr = p.mgr;
  f.inertia = p.inertia;
  f.omega0 = p.omega0;
  f.damping = p.damping;
  f.q_factor = p.q_factor;
  f.drive_torque = p.drive_torque;
  f.drive_amplitude = p.drive_amplitude;
  f.drive_omega = p.drive_omega;
  f.drive_frequency = p.drive_frequency;
  f.initial_angle = p.initial_angle;
  f.initial_velocity = p.initial_velocity;
  f.time_out = p.time_out;
}

}  // namespace kv
