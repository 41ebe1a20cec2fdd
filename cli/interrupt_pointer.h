// The pointer of a headless command: there is no mouse, and Ctrl-C is taken as the Escape
// key, which every long command treats as a press on HALT. While an InterruptPointer
// exists it owns SIGINT; the previous handler comes back when it is destroyed.
#pragma once

#include <csignal>

#include "platform/services.h"

namespace kv::cli {

class InterruptPointer : public Pointer {
 public:
  InterruptPointer();
  ~InterruptPointer() override;
  InterruptPointer(const InterruptPointer&) = delete;
  InterruptPointer& operator=(const InterruptPointer&) = delete;

  DesignPoint cursor_pos() override { return {}; }
  std::int16_t async_left_button() override { return 0; }
  bool take_escape() override;
  // True when Ctrl-C was pressed at any time while this pointer existed.
  bool ever_interrupted() const;

 private:
  void (*previous_)(int) = nullptr;
};

}  // namespace kv::cli
