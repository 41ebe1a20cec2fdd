// The largest Lyapunov exponent of a scalar series by the fixed-evolution-time method:
// the series is embedded in three delay coordinates, a reference trajectory and one
// neighbour are followed for a fixed evolution time, the logarithm of the growth of their
// separation is summed, and after each step the neighbour is replaced by the point
// closest in direction to the old separation. This is the computation only; reading the
// orbit file and the texts the user sees are in chaos/lyapunov.h.
#pragma once

#include <span>

namespace kv {

struct LyapunovParams {
  int delay = 700;              // records between the delay coordinates
  int evolve = 400;             // evolution time in records
  int last = 9501;              // last candidate index and bound on the reference index
  int exclusion = 10;           // candidates this close to the evolved reference are skipped
  double evolve_seconds = 2.8;  // evolution time in seconds (400 x 0.007 s)
  double min_distance = 0.0001;
  double first_min = 1e11;   // start of the smallest distance in the first search
  double scale_limit = 0.5;  // distance limit per unit of the search scale (1 to 4)
  double first_angle = 0.3;  // first angle limit, doubled while below 3.14
};

// One evolution step as it was counted.
struct LyapunovStep {
  int steps = 0;          // steps counted so far, this one included
  double estimate = 0;    // running sum / steps
  int reference = 0;      // r: the reference index at the start of the step
  int neighbour = 0;      // q: the neighbour index at the start of the step
  double d0 = 0, d1 = 0;  // separation at the start and after the evolution
};

// Called by the estimate: halt() once per candidate of every search (true stops the
// estimate), step_done() after each evolution step has been counted.
class LyapunovHooks {
 public:
  virtual ~LyapunovHooks() = default;
  virtual bool halt() { return false; }
  virtual void step_done(const LyapunovStep& /*step*/) {}
};

struct LyapunovEstimate {
  double exponent = 0;   // sum of the logarithmic growth rates / steps (0 when halted)
  int steps = 0;         // evolution steps counted
  int rated_steps = 0;   // of which had a growth rate (both separations nonzero)
  bool halted = false;   // stopped by halt()
  bool ran_out = false;  // the neighbour was pushed past the end of the series
};

// Smallest filled length the series needs for `p`: every candidate and the evolved
// reference must have all three coordinates.
int lyapunov_series_needed(const LyapunovParams& p);

// `series` holds the values at indexes 1..size-1 (index 0 is read as a value too, when
// the first search finds no neighbour). Throws std::invalid_argument when the series is
// shorter than lyapunov_series_needed(p).
LyapunovEstimate estimate_lyapunov(std::span<const float> series, const LyapunovParams& p,
                                   LyapunovHooks& hooks);

}  // namespace kv
