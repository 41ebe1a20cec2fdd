// The fields of a 6-byte sample record from the interface box:
//   byte 1: bits 0-3 angle count bits 8-11, bit 4 drive marker
//   byte 2: angle count bits 0-7
//   bytes 3, 4: time count, low byte first (4 MHz, 16 bits)
//   bytes 5, 6: revolution field, high byte first (revolutions + 32000)
// (Bytes are numbered from 1 here; record[0] is byte 1.)
#pragma once

#include <cstdint>

#include "platform/interface_box.h"

namespace kv {

inline constexpr std::int32_t kRevolutionOffset = 32000;
inline constexpr std::uint8_t kMarkerBit = 0x10;

inline std::int32_t record_angle(const SampleRecord& r) {
  return static_cast<std::int32_t>(r[0] & 0x0F) * 256 + r[1];
}
inline std::uint8_t record_marker(const SampleRecord& r) {
  return r[0] & kMarkerBit;
}
inline std::int32_t record_time(const SampleRecord& r) {
  return static_cast<std::int32_t>(r[3]) * 256 + r[2];
}
// The revolution field as the box sends it, 0..65535 (32-bit arithmetic, so a high byte of
// 128 or more is just a larger count).
inline std::int32_t record_revolution_field(const SampleRecord& r) {
  return static_cast<std::int32_t>(r[4]) * 256 + r[5];
}

// Builds a record from its fields (angle 0..4095, time and revolution field taken modulo
// 65536), as a box would send it.
inline SampleRecord make_record(std::int32_t angle, bool marker, std::uint32_t time,
                                std::int32_t revolutions) {
  const std::uint32_t field = static_cast<std::uint32_t>(revolutions + kRevolutionOffset) & 0xFFFF;
  return SampleRecord{
      static_cast<std::uint8_t>(((angle >> 8) & 0x0F) | (marker ? kMarkerBit : 0)),
      static_cast<std::uint8_t>(angle & 0xFF),
      static_cast<std::uint8_t>(time & 0xFF),
      static_cast<std::uint8_t>((time >> 8) & 0xFF),
      static_cast<std::uint8_t>(field >> 8),
      static_cast<std::uint8_t>(field & 0xFF),
  };
}

}  // namespace kv
