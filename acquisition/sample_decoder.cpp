#include "acquisition/sample_decoder.h"

#include <cstring>

#include "acquisition/sample_record.h"

namespace kv {

namespace {
// Moves elements 1 .. n - 1 of a window to 2 .. n; the oldest sample drops out.
template <typename T>
void shift_window(T* w) {
  T older[kFitPoints - 1];
  std::memcpy(older, w + 1, sizeof older);
  std::memcpy(w + 2, older, sizeof older);
}

constexpr double kSecondsPerTimeWrap = 0.016384;  // 65536 counts of the 4 MHz clock
constexpr double kTimeCountsPerSecond = 4000000;
constexpr i32 kTimeWrap = 65536;
}  // namespace

void start_decoding(DecoderState& s) {
  s.poincare_event = kFalse;
  s.passes = 0;
  s.time_wraps = 0;
  s.velocity = 0;
  for (i32 i = 1; i <= kFitPoints - 1; ++i) {
    s.angle_window[i] = 0;
    s.time_window[i] = 0;
  }
}

DecodedSample decode_record(DecoderState& s, const SampleRecord& rec) {
  constexpr i32 n = kFitPoints;
  double* aw = s.angle_window;
  double* tw = s.time_window;
  i32* rs = s.revolution_window;
  // Shift the windows; element 1 receives the new sample.
  shift_window(aw);
  shift_window(tw);
  // Rising edge of the drive marker.
  const u8 m = record_marker(rec);
  s.poincare_event = m > s.POIN_prev ? kTrue : kFalse;
  s.POIN_prev = m;
  // Angle and time.
  aw[1] = record_angle(rec);
  tw[1] = record_time(rec);
  // Revolution history.
  shift_window(rs);
  rs[1] = s.rollover_prev;
  s.rollover = s.rollover_prev;
  // Revolutions relative to the run's second sample.
  const i32 r = record_revolution_field(rec) - kRevolutionOffset;
  if (s.passes == 1) s.initial_rollover = r;
  s.rollover_prev = clng(r - s.initial_rollover);
  // Unwrap: counts above 3100 lose a revolution when counts below 900 are present.
  i32 d[n + 1];  // element 0 unused
  bool low = false;
  for (i32 i = 1; i <= n; ++i) low |= aw[i] < 900;
  for (i32 i = 1; i <= n; ++i) {
    const i32 a = static_cast<i32>(aw[i]);
    d[i] = (aw[i] > 3100 && low) ? a - 4000 : a;
  }
  // Time wrap.
  if (tw[1] < tw[2]) {
    ++s.time_wraps;
    for (i32 i = 2; i <= n; ++i) tw[i] = tw[i] - kTimeWrap;
  }
  // Least-squares velocity; Sxx is accumulated in single precision.
  double sxy = 0, sy = 0, sx = 0;
  float sxx = 0;
  bool equal_times = true;
  for (i32 i = 1; i <= n; ++i) {
    const double x = tw[i];
    const double y = d[i];
    sxy = sxy + x * y;
    sy = sy + y;
    sx = sx + x;
    sxx = static_cast<float>(static_cast<double>(sxx) + x * x);
    equal_times &= x == tw[1];
  }
  const double den = static_cast<double>(n) * static_cast<double>(sxx) - sx * sx;
  if (den != 0 && !equal_times) s.velocity = 40000 * (n * sxy - sx * sy) / den;

  DecodedSample out;
  const i32 mid = cint(n / 2.0);  // 4
  out.angle_count = cint(aw[mid]);
  out.revolutions = rs[3];
  out.velocity = s.velocity;
  out.poincare_event = s.poincare_event != kFalse;
  out.time = s.time_wraps * kSecondsPerTimeWrap + tw[2] / kTimeCountsPerSecond;
  // The warm-up: the first n + 4 passes are not drawn. Lines are written from the n-th
  // pass on, once the window holds no element of the zeros it was cleared to, so the
  // first line's velocity is fitted over real samples only.
  out.warm_up = s.passes <= n + 3;
  if (out.warm_up) ++s.passes;
  out.lines_due = s.passes >= n;
  return out;
}

}  // namespace kv
