// Which interface box start-up opens: "--box demo", "--box replay:FILE",
// "--box usb[:VID:PID]", or, with no choice, the real box (the Windows driver on Windows,
// libusb elsewhere).
#pragma once

#include <memory>
#include <string>

#include "platform/interface_box.h"

namespace kv {

// Opens the box named by `choice` ("" for the real box). Returns null and sets `error` to a
// readable reason when it cannot be opened (start-up then reports "interface not
// connected"). Throws std::invalid_argument for a choice that is not understood.
std::unique_ptr<InterfaceBox> open_box(const std::string& choice, std::string& error);

}  // namespace kv
