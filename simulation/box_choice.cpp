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

BoxOpening opening(std::unique_ptr<InterfaceBox> box, std::string error) {
  BoxOpening o;
  o.status = box ? Status::opened : Status::not_opened;
  o.box = std::move(box);
  if (!o.box) o.reason = std::move(error);
  return o;
}

BoxOpening refused(std::string why) {
  BoxOpening o;
  o.status = Status::unknown_choice;
  o.reason = std::move(why);
  return o;
}

// One hexadecimal id of 1 to 4 digits; false when `text` is none.
bool parse_id(std::string_view text, std::uint16_t& id) {
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

BoxOpening open_demo(std::string_view) {
  return opening(std::make_unique<DemoBox>(true), {});
}

BoxOpening open_replay(std::string_view file) {
  if (file.empty()) return refused("the replay needs a file name");
  std::string error;
  auto box = ReplayBox::open(std::string(file), error);
  return opening(std::move(box), std::move(error));
}

BoxOpening open_default_usb(std::string_view) {
  std::string error;
  auto box = open_usb(kEzUsbVendor, kEzUsbProduct, error);
  return opening(std::move(box), std::move(error));
}

BoxOpening open_usb_ids(std::string_view ids) {
  const auto colon = ids.find(':');
  if (colon == std::string_view::npos) return refused("expected usb:VID:PID");
  std::uint16_t vendor = 0, product = 0;
  for (const auto& [text, id] :
       {std::pair{ids.substr(0, colon), &vendor}, std::pair{ids.substr(colon + 1), &product}})
    if (!parse_id(text, *id))
      return refused("\"" + std::string(text) + "\" is not a 4-digit hexadecimal id");
  std::string error;
  auto box = open_usb(vendor, product, error);
  return opening(std::move(box), std::move(error));
}

BoxOpening open_platform_box(std::string_view) {
#ifdef _WIN32
  std::string error;
  auto box = WindowsBox::open("Ezusb-0", error);
  return opening(std::move(box), std::move(error));
#else
  return open_default_usb({});
#endif
}

#ifdef _WIN32
constexpr std::string_view kUsbHelp = "the real box through its EZ-USB driver (ids 0547:2131)";
constexpr std::string_view kPlatformHelp = "the real box through its EZ-USB driver";
#else
constexpr std::string_view kUsbHelp = "the real box on USB, default ids 0547:2131 (libusb)";
constexpr std::string_view kPlatformHelp = "the real box on USB (libusb)";
#endif

constexpr BoxKind kKinds[] = {
    {"demo", "", "a simulated box: the pendulum model in real time", false, open_demo},
    {"replay", "FILE", "raw 6-byte records saved with kestavor-cli record --raw", true,
     open_replay},
    {"usb", "", kUsbHelp, false, open_default_usb},
    {"usb", "VID:PID", "the real box whose EZ-USB chip has these hexadecimal ids", false,
     open_usb_ids},
    {"", "", kPlatformHelp, false, open_platform_box},
};

}  // namespace

std::span<const BoxKind> box_kinds() {
  return kKinds;
}

std::string box_syntax(const BoxKind& kind) {
  std::string s(kind.name);
  if (!kind.argument.empty()) s.append(":").append(kind.argument);
  return s;
}

std::string box_choices(std::string_view separator) {
  std::string s;
  for (const BoxKind& k : kKinds)
    if (!k.name.empty()) s.append(s.empty() ? "" : separator).append(box_syntax(k));
  return s;
}

std::string box_help(std::string_view indent) {
  std::size_t width = 6;  // "(none)"
  for (const BoxKind& k : kKinds) width = std::max(width, box_syntax(k).size());
  std::string s;
  for (const BoxKind& k : kKinds) {
    std::string syntax = k.name.empty() ? "(none)" : box_syntax(k);
    syntax.resize(width + 2, ' ');
    s.append(indent).append(syntax).append(k.help).append("\n");
  }
  return s;
}

const BoxKind* find_box_kind(std::string_view choice, std::string_view& argument) {
  const std::size_t colon = choice.find(':');
  const std::string_view name = choice.substr(0, colon);
  for (const BoxKind& k : kKinds) {
    if (k.name != name || k.argument.empty() != (colon == std::string_view::npos)) continue;
    argument = colon == std::string_view::npos ? std::string_view() : choice.substr(colon + 1);
    return &k;
  }
  return nullptr;
}

std::string box_input_file(std::string_view choice) {
  std::string_view argument;
  const BoxKind* kind = find_box_kind(choice, argument);
  return kind && kind->reads_file ? std::string(argument) : std::string();
}

BoxOpening open_box(std::string_view choice) {
  std::string_view argument;
  const BoxKind* kind = find_box_kind(choice, argument);
  BoxOpening o = kind ? kind->open(argument) : refused("");
  if (o.status == Status::unknown_choice)
    o.reason = "unknown interface box \"" + std::string(choice) + "\"" +
               (o.reason.empty() ? "" : ": " + o.reason) + " (use " + box_choices(", ") +
               "; the ids are hexadecimal)";
  return o;
}

}  // namespace kv
