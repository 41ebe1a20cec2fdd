// The pendulum's units and the values of pi its files are written with, one name each.
//   V, the velocity value: 40000 x angle counts per time count; one unit of V is
//     kRadPerSecPerV rad/s, which is how the files give velocities.
//   kFilePi (3.14159): the phase of an angle count in recorded files (count 0 is -pi),
//     the simulation's Poincare phase, and the orbit phase "Plot file" reads back.
//   kSimulationPi (3.1415927): the simulation's angle count and the orbit phase it writes
//     (angle - pi); "Plot file" reads a Poincare file's phase with it.
// These are the program's own rounded values, not approximations to be improved: every
// file byte and plotted pixel depends on them.
#pragma once

namespace kv {

inline constexpr double kRadPerSecPerV = 0.1569673;
inline constexpr double kFilePi = 3.14159;
inline constexpr double kSimulationPi = 3.1415927;
// kSimulationPi rounded to single precision (3.1415927410125732), as single-precision
// phase arithmetic sees it.
inline constexpr double kSimulationPiSingle = static_cast<float>(kSimulationPi);

}  // namespace kv
