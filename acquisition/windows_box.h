// The real interface box on Windows, through the EZ-USB general-purpose driver: the
// device "\\.\Ezusb-0", one bulk read of pipe 0 per record (DeviceIoControl 0x22204E),
// CloseHandle at the end. Built only on Windows.
#pragma once

#ifdef _WIN32

#include <memory>
#include <string>

#include "platform/interface_box.h"

namespace kv {

class WindowsBox : public InterfaceBox {
 public:
  ~WindowsBox() override;
  // Opens "\\.\" + name (start-up passes "Ezusb-0"). Returns null with `error` set when
  // the driver's device cannot be opened.
  static std::unique_ptr<WindowsBox> open(const std::string& name, std::string& error);

  BoxRead read(SampleRecord& record, int timeout_ms) override;
  void close() override;
  std::string name() const override { return "EZ-USB " + name_; }
  long handle() const override;

 private:
  WindowsBox() = default;
  void* handle_ = nullptr;  // HANDLE
  void* event_ = nullptr;   // HANDLE of the overlapped read's event
  std::string name_;
  bool gone_ = false;
};

}  // namespace kv

#endif  // _WIN32
