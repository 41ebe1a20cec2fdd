// Boxes and record streams for the acquisition tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "acquisition/sample_record.h"
#include "platform/interface_box.h"
#include "tests/support/scripted_services.h"

namespace kv::test {

// One step of a scripted box: an outcome and, for Ok, the record delivered.
struct Step {
  BoxRead outcome = BoxRead::Ok;
  SampleRecord record{};
};

// Plays its steps in order and then reports the end of the data (or `after_end`). A
// Timeout advances the manual clock by the time the read would have waited.
class ScriptedBox : public InterfaceBox {
 public:
  std::vector<Step> steps;
  std::size_t pos = 0;
  BoxRead after_end = BoxRead::EndOfData;
  ManualClock* clock = nullptr;
  bool closed = false;

  BoxRead read(SampleRecord& record, int timeout_ms) override {
    if (pos >= steps.size()) {
      if (after_end == BoxRead::Timeout && clock) clock->now += timeout_ms;
      return after_end;
    }
    const Step& s = steps[pos++];
    if (s.outcome == BoxRead::Ok) record = s.record;
    if (s.outcome == BoxRead::Timeout && clock) clock->now += timeout_ms;
    return s.outcome;
  }
  void close() override { closed = true; }
  std::string name() const override { return "scripted box"; }
};

// A sample of a pendulum turning steadily: sample n has the unwrapped angle
// start + rate * n counts (2000 = bottom), the time n * 8000 (2 ms), and the marker bit
// when marker(n) says so.
struct Motion {
  double start = 2000;
  double rate = 10;  // counts per sample
  std::uint32_t time0 = 0;
  std::uint32_t ticks = 8000;
  std::function<bool(long)> marker = [](long) { return false; };

  SampleRecord at(long n) const {
    const auto total = static_cast<long long>(start + rate * static_cast<double>(n));
    long long rev = total >= 0 ? total / 4000 : -((-total + 3999) / 4000);
    const auto angle = static_cast<std::int32_t>(total - rev * 4000);
    return make_record(angle, marker(n), time0 + static_cast<std::uint32_t>(n) * ticks,
                       static_cast<std::int32_t>(rev));
  }
  std::vector<Step> steps(long count, long first = 0) const {
    std::vector<Step> out;
    for (long n = first; n < first + count; ++n) out.push_back({BoxRead::Ok, at(n)});
    return out;
  }
  std::string raw(long count) const {
    std::string s;
    for (long n = 0; n < count; ++n) {
      SampleRecord r = at(n);
      s.append(reinterpret_cast<const char*>(r.data()), r.size());
    }
    return s;
  }
};

}  // namespace kv::test
