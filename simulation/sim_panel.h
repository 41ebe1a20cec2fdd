// Reading the parameter panel for a simulation run: each box's text becomes the value the
// run will use (a box left empty keeps the value stored by the previous run, or the
// start-up default), the model's dimensionless parameters are derived from them, and values
// that leave the model undefined are refused with a message naming the box.
#pragma once

#include <string>

namespace kv {
struct Form1;

struct PanelReading {
  // Physical values (SI units) as stored after the reading.
  double mgr = 0, inertia = 0, damping = 0, drive_torque = 0, drive_omega = 0;
  double initial_angle = 0;
  double initial_velocity = 0;  // dimensionless, as stored
  double drive_phase = 0;       // radian, 0 when the box is empty
  double time_out = 0;          // seconds, 0 when the box is empty
  // Derived values.
  double omega0 = 0, q_factor = 0, drive_amplitude = 0, drive_frequency = 0;
};

// The texts of the panel's boxes: the parameter set a simulation is asked for. An empty
// text keeps the value stored by the previous run (or the start-up default).
struct PanelTexts {
  std::string mgr;               // Text27
  std::string inertia;           // Text26
  std::string damping;           // Text21
  std::string drive_amplitude;   // Text22 (the drive torque)
  std::string drive_frequency;   // Text23 (the drive's angular frequency)
  std::string drive_phase;       // Text19
  std::string initial_angle;     // Text24
  std::string initial_velocity;  // Text25 (rad/s)
  std::string time_out;          // Text69
};

// The texts the panel's boxes hold now.
PanelTexts panel_texts(const Form1& f);

// Reads the texts against the values stored in `f`, without changing `f`.
PanelReading read_panel(const Form1& f, const PanelTexts& t);
// The same for the texts the boxes hold.
PanelReading read_panel(const Form1& f);

// An empty text when the values define the model; otherwise the message for the user,
// naming the box whose value is unusable.
std::string check_panel(const PanelTexts& t, const PanelReading& p);
std::string check_panel(const Form1& f, const PanelReading& p);

// Stores the values in `f` as the run uses them.
void apply_panel(Form1& f, const PanelReading& p);

}  // namespace kv
