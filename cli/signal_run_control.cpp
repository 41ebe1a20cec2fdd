#include "cli/signal_run_control.h"

#include <csignal>

namespace kv::cli {

namespace {
volatile std::sig_atomic_t g_pending = 0;  // not yet seen by the command
volatile std::sig_atomic_t g_signal = 0;   // the last signal while the control existed

extern "C" void on_signal(int sig) {
  g_pending = 1;
  g_signal = sig;
}
}  // namespace

SignalRunControl::SignalRunControl() {
  g_pending = 0;
  g_signal = 0;
  previous_int_ = std::signal(SIGINT, on_signal);
  previous_term_ = std::signal(SIGTERM, on_signal);
#ifdef SIGHUP
  previous_hup_ = std::signal(SIGHUP, on_signal);
#endif
}

SignalRunControl::~SignalRunControl() {
  std::signal(SIGINT, previous_int_);
  std::signal(SIGTERM, previous_term_);
#ifdef SIGHUP
  std::signal(SIGHUP, previous_hup_);
#endif
}

bool SignalRunControl::halt_requested() {
  if (!g_pending) return false;
  g_pending = 0;
  return true;
}

void SignalRunControl::show_progress(const std::string& unit, bool quiet) {
  bar_ = std::make_unique<ProgressLine>(unit, !quiet && stderr_is_terminal());
}

void SignalRunControl::progress(std::int64_t done, std::int64_t total) {
  if (bar_) bar_->update(done, total);
}

void SignalRunControl::end_progress() {
  if (bar_) bar_->clear();
}

int SignalRunControl::signal() const {
  return g_signal;
}

}  // namespace kv::cli
