#include <gtest/gtest.h>

#include <string>

#include "datafiles/data_lines.h"

using namespace kv;

namespace {
std::string orbit(double t, double phase, double omega, std::int64_t rev) {
  char buf[160];
  return std::string(buf, format_orbit_line(buf, t, phase, omega, rev));
}
std::string orbit_ms(std::int64_t ms, double phase, double omega, std::int64_t rev) {
  char buf[160];
  return std::string(buf, format_orbit_line_ms(buf, ms, phase, omega, rev));
}
}  // namespace

TEST(DataLines, OrbitAndPoincareLines) {
  EXPECT_EQ(orbit(12.34567, -1.234567, 4.56781, 3), "12.3457 -1.2346 4.5678 3");
  EXPECT_EQ(orbit(0.002, 0, -0.00001, -2), ".002 0.0 -0.0 -2");
  char buf[160];
  EXPECT_EQ(std::string(buf, format_poincare_line(buf, 1.2345678, -4.56781)), "1.23457 -4.5678");
  EXPECT_EQ(std::string(buf, format_sim_poincare_line(buf, -3.14159 + 1.0 / 3, 2.5)),
            "-2.80825666666667 2.5");
}

TEST(DataLines, MillisecondTimesMatchThePatternOfTheSeconds) {
  for (std::int64_t ms = 0; ms <= 200000; ms += (ms < 3000 ? 1 : 997)) {
    ASSERT_EQ(orbit_ms(ms, 0.5, -1.25, 7), orbit(static_cast<double>(ms) / 1000.0, 0.5, -1.25, 7))
        << ms;
  }
  for (std::int64_t ms : {999999999LL, 1000000000LL, 123456789012LL, 999999999999LL,
                          1000000000000LL, 5000000000000LL}) {
    EXPECT_EQ(orbit_ms(ms, 1, 1, 0), orbit(static_cast<double>(ms) / 1000.0, 1, 1, 0)) << ms;
  }
  EXPECT_EQ(orbit_ms(2, 0, 0, 0), ".002 0.0 0.0 0");
  EXPECT_EQ(orbit_ms(3000, 0, 0, 0), "3. 0.0 0.0 0");
}
