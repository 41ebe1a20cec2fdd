#include "simulation/box_choice.h"

#include <charconv>
#include <utility>

#include "acquisition/replay_box.h"
#include "acquisition/usb_box.h"
#include "acquisition/windows_box.h"
#include "simulation/demo_box.h"

namespace kv {

namespace {

using Status = BoxOpening::Status;

BoxOpening unknown(const std::string& choice, const std::string& why) {
  BoxOpening o;
  o.status = Status::unknown_choice;
  o.reason = "unknown interface box \"" + choice + "\"" + why +
             " (use demo, replay:FILE, usb or usb:VID:PID with hexadecimal ids)";
  return o;
}

BoxOpening opening(std::unique_ptr<InterfaceBox> box, std::string error) {
  BoxOpening o;
  o.status = box ? Status::opened : Status::not_opened;
  o.box = std::move(box);
  if (!o.box) o.reason = std::move(error);
  return o;
}

// One hexadecimal id of 1 to 4 digits; false when `text` is none.
bool parse_id(const std::string& text, std::uint16_t& id) {
  unsigned value = 0;
  const char* b = text.data();
  const char* e = b + text.size();
  auto r = std::from_chars(b, e, value, 16);
  if (text.empty() || text.size() > 4 || r.ec != std::errc() || r.ptr != e) return false;
  id = static_cast<std::uint16_t>(value);
  return true;
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

BoxOpening open_box(const std::string& choice) {
  std::string error;
  if (choice.empty()) {
#ifdef _WIN32
    auto box = WindowsBox::open("Ezusb-0", error);
#else
    auto box = open_usb(kEzUsbVendor, kEzUsbProduct, error);
#endif
    return opening(std::move(box), std::move(error));
  }
  if (choice == "demo") return opening(std::make_unique<DemoBox>(true), {});
  if (choice.rfind("replay:", 0) == 0) {
    const std::string path = choice.substr(7);
    if (path.empty()) return unknown(choice, ": the replay needs a file name");
    auto box = ReplayBox::open(path, error);
    return opening(std::move(box), std::move(error));
  }
  if (choice == "usb") {
    auto box = open_usb(kEzUsbVendor, kEzUsbProduct, error);
    return opening(std::move(box), std::move(error));
  }
  if (choice.rfind("usb:", 0) == 0) {
    const std::string ids = choice.substr(4);
    const auto colon = ids.find(':');
    if (colon == std::string::npos) return unknown(choice, ": expected usb:VID:PID");
    std::uint16_t vendor = 0, product = 0;
    for (const auto& [text, id] :
         {std::pair{ids.substr(0, colon), &vendor}, std::pair{ids.substr(colon + 1), &product}})
      if (!parse_id(text, *id))
        return unknown(choice, ": \"" + text + "\" is not a 4-digit hexadecimal id");
    auto box = open_usb(vendor, product, error);
    return opening(std::move(box), std::move(error));
  }
  return unknown(choice, "");
}

}  // namespace kv
