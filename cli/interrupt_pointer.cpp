#include "cli/interrupt_pointer.h"

namespace kv::cli {

namespace {
volatile std::sig_atomic_t g_pending = 0;  // not yet seen by the command
volatile std::sig_atomic_t g_ever = 0;     // any interrupt while the pointer existed

extern "C" void on_interrupt(int) {
  g_pending = 1;
  g_ever = 1;
}
}  // namespace

InterruptPointer::InterruptPointer() {
  g_pending = 0;
  g_ever = 0;
  previous_ = std::signal(SIGINT, on_interrupt);
}

InterruptPointer::~InterruptPointer() {
  std::signal(SIGINT, previous_);
}

bool InterruptPointer::take_escape() {
  if (!g_pending) return false;
  g_pending = 0;
  return true;
}

bool InterruptPointer::ever_interrupted() const {
  return g_ever != 0;
}

}  // namespace kv::cli
