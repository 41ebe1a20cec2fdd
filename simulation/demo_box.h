// The demo box: a simulated interface box that answers like the real one, so that the
// acquisition can be shown and tested without the hardware. Its records come from the
// pendulum model with the start-up default parameters, one record per 2 ms of pendulum
// time, paced in real time unless pacing is switched off:
//   angle count 0..3999 with 0 at the bottom (the rest position), the free-running 4 MHz 16-bit
//   time counter, the revolution field (revolutions + 32000) and the drive marker bit, set for a
//   few consecutive records at the start of every drive cycle.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/interface_box.h"
#include "simulation/model.h"

namespace kv {

class DemoBox : public InterfaceBox {
 public:
  static constexpr int kMarkerRecords = 3;  // records per drive cycle with the marker set
  static constexpr std::uint32_t kTicksPerRecord = 8000;  // 2 ms of the 4 MHz clock

  explicit DemoBox(bool paced = true);

  BoxRead read(SampleRecord& record, int timeout_ms) override;
  void close() override { closed_ = true; }
  std::string name() const override { return "demo box"; }

  // The pendulum's angle (radians, 0 at the bottom).
  double angle() const { return angle_; }

 private:
  SampleRecord next_record();

  PendulumModel model_;
  double angle_, velocity_, h_;
  float drive_period_;  // one drive cycle in the model's time
  int marker_left_ = kMarkerRecords;
  std::int64_t sent_ = 0;
  bool paced_;
  bool started_ = false;
  bool closed_ = false;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace kv
