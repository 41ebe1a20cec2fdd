#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace kv {

std::int64_t SystemClock::tick_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleep_ms(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace kv
