// The clock a command paces and times itself by: milliseconds of a monotonic clock, and a
// way to give the processor back. SystemClock is the machine's, for runs that keep pace
// with the world (a live box, a simulation in real time); ComputerClock stands still but
// for the time slept, for runs paced by the computation alone (a replay of records, a
// simulation in computer time), so that they never time out and never wait.
#pragma once

#include <cstdint>

namespace kv {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds of a monotonic clock (never wraps).
  virtual std::int64_t tick_ms() = 0;
  // Gives the processor back for about `ms` milliseconds.
  virtual void sleep_ms(int ms) = 0;
};

// The machine's monotonic clock.
class SystemClock final : public Clock {
 public:
  std::int64_t tick_ms() override;
  void sleep_ms(int ms) override;
};

class ComputerClock final : public Clock {
 public:
  std::int64_t tick_ms() override { return now_; }
  void sleep_ms(int ms) override { now_ += ms; }

 private:
  std::int64_t now_ = 0;
};

}  // namespace kv
