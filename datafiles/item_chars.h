// The character classes of the program's list-input files, shared by the readers that scan
// them byte by byte: a blank (space, tab, CR) and what ends an item (a blank, a comma, a
// line end).
#pragma once

namespace kv::item_chars {

inline constexpr unsigned char kBlank = 1, kEndsItem = 2;
inline constexpr struct ClassTable {
  unsigned char c[256] = {};
  constexpr ClassTable() {
    for (unsigned char b : {' ', '\t', '\r'}) c[b] = kBlank | kEndsItem;
    c[static_cast<unsigned char>(',')] = kEndsItem;
    c[static_cast<unsigned char>('\n')] = kEndsItem;
  }
} kClass;

inline bool is_blank(char c) {
  return kClass.c[static_cast<unsigned char>(c)] & kBlank;
}
inline bool ends_item(char c) {
  return kClass.c[static_cast<unsigned char>(c)] & kEndsItem;
}

}  // namespace kv::item_chars
