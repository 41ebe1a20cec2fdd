// Which interface box start-up opens: "--box demo", "--box replay:FILE",
// "--box usb[:VID:PID]", or, with no choice, the real box (the Windows driver on Windows,
// libusb elsewhere). Here because this is the first layer that sees every kind of box (the
// demo box is the model's); the window and kestavor-cli both open their box through it.
#pragma once

#include <memory>
#include <string>

#include "platform/interface_box.h"

namespace kv {

// How opening a chosen box ended.
struct BoxOpening {
  enum class Status {
    opened,
    not_opened,      // a known box that cannot be opened (start-up then reports "interface
                     // not connected"); the reason says why, when there is one to tell
    unknown_choice,  // the choice names no box: a usage error; the reason says what is wrong
  };
  Status status = Status::not_opened;
  std::unique_ptr<InterfaceBox> box;  // the open box when opened, else null
  std::string reason;
};

// Opens the box named by `choice` ("" for the real box).
BoxOpening open_box(const std::string& choice);

}  // namespace kv
