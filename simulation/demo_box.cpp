#include "simulation/demo_box.h"

#include <cmath>
#include <thread>

#include "acquisition/sample_record.h"
#include "simulation/simulation_state.h"

namespace kv {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr std::chrono::microseconds kRecordPeriod{2000};
// When the reader falls this far behind (the window was busy), pacing starts afresh
// instead of delivering the backlog in a burst.
constexpr std::chrono::milliseconds kMaxLag{200};

}  // namespace

DemoBox::DemoBox(bool paced) : paced_(paced) {
  const DerivedParameters d = derive(startup_pendulum());
  model_.q_factor = d.q_factor;
  model_.drive_amplitude = d.drive_amplitude;
  model_.drive_frequency = d.drive_frequency;
  model_.sim_time = 0;
  h_ = d.h;
  drive_period_ = static_cast<float>(kTwoPi / d.drive_frequency);
  angle_ = 1.0;                // the start-up initial angle, radians
  velocity_ = 1.0 / d.omega0;  // the start-up initial velocity, 1 rad/s
}

SampleRecord DemoBox::next_record() {
  // The encoder: 4000 counts per revolution, count 0 at the bottom (the rest position,
  // file phase -pi, as in the simulation); the revolution count steps when the count
  // wraps from 3999 to 0.
  const double counts = std::floor(angle_ * (4000 / kTwoPi));
  const double revolutions = std::floor(counts / 4000);
  const auto angle_count = static_cast<std::int32_t>(counts - revolutions * 4000);
  const auto time = static_cast<std::uint32_t>((sent_ * kTicksPerRecord) & 0xFFFF);
  const bool marker = marker_left_ > 0;
  if (marker) --marker_left_;
  const SampleRecord rec =
      make_record(angle_count, marker, time, static_cast<std::int32_t>(revolutions));

  double t = 0;
  model_.advance_step(t, angle_, velocity_, h_);
  // The drive's time is kept within one cycle: a single-precision time that grew without
  // bound would lose the step size within minutes.
  if (model_.sim_time >= drive_period_) {
    model_.sim_time = static_cast<float>(model_.sim_time - drive_period_);
    marker_left_ = kMarkerRecords;
  }
  ++sent_;
  return rec;
}

BoxRead DemoBox::read(SampleRecord& record, int timeout_ms) {
  if (closed_) return BoxRead::Gone;
  if (paced_) {
    using clock = std::chrono::steady_clock;
    const auto now = clock::now();
    if (!started_) {
      start_ = now;
      started_ = true;
    }
    auto due = start_ + sent_ * kRecordPeriod;
    if (now - due > kMaxLag) {
      start_ = now - sent_ * kRecordPeriod;
      due = now;
    }
    if (due > now) {
      if (due - now > std::chrono::milliseconds(timeout_ms)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms));
        return BoxRead::Timeout;
      }
      // A sleep may end a little early (MinGW's rounds to whole milliseconds), so sleep on
      // until the record is due.
      while (clock::now() < due) std::this_thread::sleep_until(due);
    }
  }
  record = next_record();
  return BoxRead::Ok;
}

}  // namespace kv
