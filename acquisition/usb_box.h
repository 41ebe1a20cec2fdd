// The real interface box through libusb-1.0: the first device with the EZ-USB chip's
// default vendor and product ids (or the ids given), interface 0, one 6-byte record per
// bulk read from the interface's first bulk IN endpoint ("pipe 0").
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/interface_box.h"

namespace kv {

inline constexpr std::uint16_t kEzUsbVendor = 0x0547;
inline constexpr std::uint16_t kEzUsbProduct = 0x2131;

#ifdef KV_HAVE_LIBUSB

class UsbBox : public InterfaceBox {
 public:
  ~UsbBox() override;
  // Opens and claims the device. Returns null with `error` set (what failed and why) when
  // no such device can be opened.
  static std::unique_ptr<UsbBox> open(std::uint16_t vendor, std::uint16_t product,
                                      std::string& error);

  // A transient transfer failure leaves `record` unchanged (Failed); an unplugged device
  // gives Gone; nothing within `timeout_ms` gives Timeout.
  BoxRead read(SampleRecord& record, int timeout_ms) override;
  void close() override;
  std::string name() const override;

 private:
  UsbBox() = default;
  struct Handles;
  std::unique_ptr<Handles> h_;
  std::uint16_t vendor_ = 0, product_ = 0;
  unsigned char endpoint_ = 0;
  bool gone_ = false;
};

#endif

}  // namespace kv
