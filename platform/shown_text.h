// Bytes of a file shown in a message: cut to `max` bytes, every byte that is not printable
// ASCII written as \xNN, so that no byte of a file reaches a terminal raw.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

inline std::string shown_bytes(std::string_view bytes, std::size_t max = 40) {
  static const char* const hex = "0123456789abcdef";
  std::string text;
  for (char c : bytes.substr(0, max)) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7f) {
      text += c;
    } else {
      text += "\\x";
      text += hex[u >> 4];
      text += hex[u & 15];
    }
  }
  return text;
}

}  // namespace kv
