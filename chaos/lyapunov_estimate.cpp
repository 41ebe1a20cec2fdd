#include "chaos/lyapunov_estimate.h"
#include "datafiles/pendulum_units.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace kv {

namespace {

struct Point {
  double v[3];
};

class Embedding {
 public:
  Embedding(const float* s, int delay) : s_(s), delay_(delay) {}
  Point at(int k) const {
    return {{static_cast<double>(s_[k]), static_cast<double>(s_[k + delay_]),
             static_cast<double>(s_[k + 2 * delay_])}};
  }

 private:
  const float* s_;
  int delay_;
};

double distance(const Point& a, const Point& b) {
  const double d0 = a.v[0] - b.v[0], d1 = a.v[1] - b.v[1], d2 = a.v[2] - b.v[2];
  return std::sqrt(d0 * d0 + d1 * d1 + d2 * d2);
}

constexpr double kAngleBound = 3.14;         // start of the best angle; the limit stays below it
constexpr double kRightAngle = kFilePi / 2;  // angle when the cosine is 0

}  // namespace

int lyapunov_series_needed(const LyapunovParams& p) {
  return p.last + p.evolve + 2 * p.delay;
}

LyapunovEstimate estimate_lyapunov(std::span<const float> series, const LyapunovParams& p,
                                   LyapunovHooks& hooks) {
  const int filled = static_cast<int>(series.size()) - 1;
  if (filled < lyapunov_series_needed(p))
    throw std::invalid_argument("series too short for the Lyapunov estimate");
  const Embedding x(series.data(), p.delay);
  LyapunovEstimate out;

  // First neighbour of the reference r = 1: the nearest point at least min_distance away,
  // a later candidate winning a tie.
  int r = 1;
  int q = 0;
  double d_min = p.first_min;
  {
    const Point ref = x.at(r);
    for (int k = r + p.exclusion; k <= p.last; ++k) {
      const double d = distance(x.at(k), ref);
      if (d <= d_min && d >= p.min_distance) {
        d_min = d;
        q = k;
      }
    }
  }
  double d0 = d_min;

  double sum = 0;
  double cosine = 0;  // kept from candidate to candidate when d1 is 0
  for (;;) {
    // A neighbour followed past the end of the filled series ends the estimate with the
    // steps done so far.
    if (q + p.evolve + 2 * p.delay > filled) {
      out.ran_out = true;
      break;
    }
    const int r_evolved = r + p.evolve;
    const Point a = x.at(r_evolved);
    const Point b = x.at(q + p.evolve);
    const double d1 = distance(a, b);
    ++out.steps;
    // A step that starts or ends at zero separation has no growth rate; it still counts.
    if (d1 != 0 && d0 != 0) {
      sum += std::log(d1 / d0) / p.evolve_seconds;
      ++out.rated_steps;
    }
    out.exponent = sum / out.steps;
    hooks.step_done(LyapunovStep{out.steps, out.exponent, r, q, d0, d1});

    // Replacement: the candidate closest in direction to the old separation, within a
    // distance limit that widens first and an angle limit that doubles after it.
    const int q_old = q;
    int scale = 1;
    double angle_max = p.first_angle;
    double d_best = 0;
    for (;;) {
      double angle_best = kAngleBound;
      for (int k = 1; k <= p.last; ++k) {
        if (hooks.halt()) {
          out.halted = true;
          out.exponent = 0;
          return out;
        }
        if (std::abs(r_evolved - k) < p.exclusion) continue;
        const Point c = x.at(k);
        const double d = distance(c, a);
        if (d > p.scale_limit * scale || d < p.min_distance) continue;
        if (d1 != 0) {
          const double dot = (a.v[0] - c.v[0]) * (a.v[0] - b.v[0]) +
                             (a.v[1] - c.v[1]) * (a.v[1] - b.v[1]) +
                             (a.v[2] - c.v[2]) * (a.v[2] - b.v[2]);
          cosine = std::fabs(dot) / (d1 * d);
          if (cosine > 1) cosine = 1;
        }
        const double angle =
            cosine == 0 ? kRightAngle : std::atan(std::sqrt(1 - cosine * cosine) / cosine);
        if (angle > angle_best) continue;
        angle_best = angle;
        d_best = d;
        q = k;
      }
      if (angle_best < angle_max) break;
      if (++scale < 5) continue;
      scale = 1;
      angle_max *= 2;
      if (angle_max < kAngleBound) continue;
      // Nothing close enough in any direction: keep following the old neighbour.
      q = q_old + p.evolve;
      d_best = d1;
      break;
    }

    r += p.evolve;
    if (r > p.last) break;
    d0 = d_best;
  }
  return out;
}

}  // namespace kv
