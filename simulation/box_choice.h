// The interface boxes a program can open, declared once: every kind gives its name, the
// syntax of its choice, a line of help and the function that opens it. Start-up's choice
// ("kestavor --box", "kestavor-cli record --box"), both programs' usage and help, the bash
// completion (through the help) and the manual pages' check all read this list. Here
// because this is the lowest layer that sees every kind: the demo box runs the model.
//   demo            the pendulum model driving the box protocol in real time
//   replay:FILE     raw records saved earlier
//   usb, usb:VID:PID  the real box through libusb (on Windows: its EZ-USB driver)
//   (no choice)     the real box of the platform
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

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

struct BoxKind {
  // The choice's name: "demo", "replay", "usb"; empty for the platform's own box, chosen by
  // giving no box.
  std::string_view name;
  // What follows "NAME:" in the choice ("FILE", "VID:PID"); empty when nothing does.
  std::string_view argument;
  std::string_view help;  // one line
  // True when the argument names a file the box reads (no output may be that file).
  bool reads_file = false;
  // Opens the box; `argument` is the text after "NAME:" (empty when the kind takes none).
  BoxOpening (*open)(std::string_view argument) = nullptr;
};

// Every kind, in the order usage and help list them; the platform's own box comes last.
std::span<const BoxKind> box_kinds();

// The kind's choice as typed: "demo", "replay:FILE", "usb:VID:PID"; empty for the
// platform's own box.
std::string box_syntax(const BoxKind& kind);
// The choices a user may type, as usage shows them: "demo|replay:FILE|usb|usb:VID:PID"
// with the separator "|".
std::string box_choices(std::string_view separator = "|");
// The kinds as lines of help, each "<indent>SYNTAX  HELP", the platform's own box as
// "<indent>(none)  HELP", each line ended by a newline.
std::string box_help(std::string_view indent);

// The kind `choice` names and the text after "NAME:" (empty when none); null when the
// choice names no kind. "" names the platform's own box.
const BoxKind* find_box_kind(std::string_view choice, std::string_view& argument);
// The file the chosen box reads ("replay:FILE" gives FILE); empty when it reads none.
std::string box_input_file(std::string_view choice);

// Opens the box named by `choice` ("" for the platform's own box).
BoxOpening open_box(std::string_view choice);

}  // namespace kv
