// Reading the parameter panel's texts for a simulation run: each box's text becomes the
// value the run will use (a box left empty keeps the value stored by the previous run, or
// the start-up default), the model's dimensionless parameters are derived from them, and
// values that leave the model undefined are refused with a message naming the box. The
// window (app/commands) and kestavor-cli fill the texts; nothing here reads a control.
#pragma once

#include <string>
#include <string_view>

#include "simulation/simulation_state.h"

namespace kv {

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

// A box of the panel's parameter set: where its text goes in PanelTexts, and the caption
// and unit the panel shows beside it (messages name a box by its caption).
struct PanelBox {
  std::string PanelTexts::*text;
  std::string_view caption;
  std::string_view unit;
};

inline constexpr PanelBox kMgrBox{&PanelTexts::mgr, "mgr=", " Nm"};
inline constexpr PanelBox kInertiaBox{&PanelTexts::inertia, "Inertia=", " Kgmm"};
inline constexpr PanelBox kDampingBox{&PanelTexts::damping, "Damping=", " Nms"};
inline constexpr PanelBox kDriveAmplitudeBox{&PanelTexts::drive_amplitude,
                                             "Drive amplitude=", " Nm"};
inline constexpr PanelBox kDriveFrequencyBox{&PanelTexts::drive_frequency,
                                             "Drive frequency=", "rad/s"};
inline constexpr PanelBox kDrivePhaseBox{&PanelTexts::drive_phase, "Drive phase=", "radian"};
inline constexpr PanelBox kInitialAngleBox{&PanelTexts::initial_angle, "Initial angle=", "radian"};
inline constexpr PanelBox kInitialVelocityBox{&PanelTexts::initial_velocity,
                                              "Initial velocity=", "rad/s"};
inline constexpr PanelBox kTimeOutBox{&PanelTexts::time_out, "Time out=", "s"};

// The parameter set the texts give, read against the `stored` one: an empty box keeps the
// stored value, but the drive phase and the time-out, which are then 0. The velocity box
// holds rad/s; a stored velocity is kept as it is (dimensionless).
SimParameters read_panel(const SimParameters& stored, const PanelTexts& t);

// An empty text when the values define the model; otherwise the message for the user,
// naming the box whose value is unusable.
std::string check_panel(const PanelTexts& t, const SimParameters& p);

}  // namespace kv
