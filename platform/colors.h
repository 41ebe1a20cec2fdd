// The program's colours, as 0x00BBGGRR values (the order the surfaces and the controls
// store them in).
#pragma once

#include <cstdint>

namespace kv {

inline constexpr std::uint32_t kGrey = 0xE0E0E0;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x00C000;
inline constexpr std::uint32_t kYellow = 0x00FFFF;
inline constexpr std::uint32_t kCyan = 0xFFFF00;

}  // namespace kv
