// The reply to "Enter number of data points" on any text. Beyond not crashing: Ok gives a
// count from 0 to 2^31-1 that is the leading number rounded half to even; point_count
// agrees and never passes the most points a file can hold; a printed whole number reads
// back as itself.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "datafiles/point_count.h"
#include "platform/list_input.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string reply(reinterpret_cast<const char*>(data), size);
  kv::i32 n = -1;
  const kv::PointCountReply r = kv::parse_point_count(reply, n);
  const auto count = kv::point_count(reply);
  if (r == kv::PointCountReply::Ok) {
    check(n >= 0, "a negative count");
    check(static_cast<double>(n) == kv::round_half_even(kv::leading_number(reply)),
          "the count is not the rounded leading number");
    check(count.has_value() == (n <= kv::kMaxSavedPoints), "point_count disagrees");
    if (count) check(*count == n, "point_count gives another count");
  } else {
    check(!count.has_value(), "a count for a reply that ends the command");
    if (r == kv::PointCountReply::Cancel) check(!reply.empty() || n == -1, "cancel with a count");
  }
  if (size >= 4) {
    std::uint32_t k;
    std::memcpy(&k, data, 4);
    k &= 0x7fffffff;
    kv::i32 m = -1;
    check(kv::parse_point_count(std::to_string(k) + reply.substr(4, 0), m) ==
                  kv::PointCountReply::Ok &&
              m == static_cast<kv::i32>(k),
          "a printed count does not read back");
  }
  return 0;
}
