#include "app/commands/box_choice.h"

#include <charconv>
#include <stdexcept>

#include "acquisition/replay_box.h"
#include "acquisition/usb_box.h"
#include "acquisition/windows_box.h"
#include "simulation/demo_box.h"

namespace kv {

namespace {

[[noreturn]] void bad_choice(const std::string& choice, const std::string& why) {
  throw std::invalid_argument("unknown interface box \"" + choice + "\"" + why +
                              " (use demo, replay:FILE, usb or usb:VID:PID with hexadecimal ids)");
}

// One hexadecimal id of 1 to 4 digits.
std::uint16_t parse_id(const std::string& choice, const std::string& text) {
  unsigned value = 0;
  const char* b = text.data();
  const char* e = b + text.size();
  auto r = std::from_chars(b, e, value, 16);
  if (text.empty() || text.size() > 4 || r.ec != std::errc() || r.ptr != e)
    bad_choice(choice, ": \"" + text + "\" is not a 4-digit hexadecimal id");
  return static_cast<std::uint16_t>(value);
}

std::unique_ptr<InterfaceBox> open_usb(std::uint16_t vendor, std::uint16_t product,
                                       std::string& error) {
#ifdef KV_HAVE_LIBUSB
  return UsbBox::open(vendor, product, error);
#elif defined(_WIN32)
  // Windows reaches the box through its EZ-USB driver, which serves the default ids.
  if (vendor == kEzUsbVendor && product == kEzUsbProduct) return WindowsBox::open("Ezusb-0", error);
  error =
      "on Windows the box is opened through its EZ-USB driver, which knows only the ids "
      "0547:2131";
  return nullptr;
#else
  (void)vendor;
  (void)product;
  error = "this program was built without libusb, so it cannot open a USB box";
  return nullptr;
#endif
}

}  // namespace

std::unique_ptr<InterfaceBox> open_box(const std::string& choice, std::string& error) {
  if (choice.empty()) {
#ifdef _WIN32
    return WindowsBox::open("Ezusb-0", error);
#else
    return open_usb(kEzUsbVendor, kEzUsbProduct, error);
#endif
  }
  if (choice == "demo") return std::make_unique<DemoBox>(true);
  if (choice.rfind("replay:", 0) == 0) {
    const std::string path = choice.substr(7);
    if (path.empty()) bad_choice(choice, ": the replay needs a file name");
    return ReplayBox::open(path, error);
  }
  if (choice == "usb") return open_usb(kEzUsbVendor, kEzUsbProduct, error);
  if (choice.rfind("usb:", 0) == 0) {
    const std::string ids = choice.substr(4);
    const auto colon = ids.find(':');
    if (colon == std::string::npos) bad_choice(choice, ": expected usb:VID:PID");
    const std::uint16_t vendor = parse_id(choice, ids.substr(0, colon));
    const std::uint16_t product = parse_id(choice, ids.substr(colon + 1));
    return open_usb(vendor, product, error);
  }
  bad_choice(choice, "");
}

}  // namespace kv
