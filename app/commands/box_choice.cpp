// Placeholder until the box backends land.
#include "app/commands/box_choice.h"

namespace kv {
std::unique_ptr<InterfaceBox> open_box(const std::string&, std::string& error) {
  error = "no interface box backend is built";
  return nullptr;
}
}  // namespace kv
