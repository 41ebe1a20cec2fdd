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

// A box of the panel's parameter set: where its text goes in PanelTexts, the caption and
// unit the panel shows beside it (messages name a box by its caption), the text it holds
// at start-up, and the option of kestavor-cli simulate that gives its text.
struct PanelBox {
  std::string PanelTexts::*text;
  std::string_view caption;
  std::string_view unit;
  std::string_view start_text;
  std::string_view option;
};

inline constexpr PanelBox kMgrBox{&PanelTexts::mgr, "mgr=", " Nm", "0.000798", "--mgr"};
inline constexpr PanelBox kInertiaBox{&PanelTexts::inertia, "Inertia=", " Kgmm", "0.000009876",
                                      "--inertia"};
inline constexpr PanelBox kDampingBox{&PanelTexts::damping, "Damping=", " Nms", "0.000017754",
                                      "--damping"};
inline constexpr PanelBox kDriveAmplitudeBox{
    &PanelTexts::drive_amplitude, "Drive amplitude=", " Nm", "0.0005306", "--drive-amplitude"};
inline constexpr PanelBox kDriveFrequencyBox{
    &PanelTexts::drive_frequency, "Drive frequency=", "rad/s", "5.8119", "--drive-frequency"};
inline constexpr PanelBox kDrivePhaseBox{&PanelTexts::drive_phase, "Drive phase=", "radian", "0",
                                         "--drive-phase"};
inline constexpr PanelBox kInitialAngleBox{&PanelTexts::initial_angle, "Initial angle=", "radian",
                                           "1.0", "--initial-angle"};
inline constexpr PanelBox kInitialVelocityBox{
    &PanelTexts::initial_velocity, "Initial velocity=", "rad/s", "1.0", "--initial-velocity"};
inline constexpr PanelBox kTimeOutBox{&PanelTexts::time_out, "Time out=", "s", "0", "--time-out"};

// The boxes in the panel's order, top to bottom.
inline constexpr const PanelBox* kPanelBoxes[] = {&kMgrBox,
                                                  &kInertiaBox,
                                                  &kDampingBox,
                                                  &kDriveAmplitudeBox,
                                                  &kDriveFrequencyBox,
                                                  &kDrivePhaseBox,
                                                  &kInitialAngleBox,
                                                  &kInitialVelocityBox,
                                                  &kTimeOutBox};

// The parameter set the texts give, read against the `stored` one: an empty box keeps the
// stored value, but the drive phase and the time-out, which are then 0. The velocity box
// holds rad/s; a stored velocity is kept as it is (dimensionless).
SimParameters read_panel(const SimParameters& stored, const PanelTexts& t);

// An empty text when the values define the model; otherwise the message for the user,
// naming the box whose value is unusable.
std::string check_panel(const PanelTexts& t, const SimParameters& p);

// The parameter set the program starts with (the panel's start-up texts, read).
void set_default_parameters(SimulationState& sim);

}  // namespace kv
