#include "cli/signal_run_control.h"

#include <csignal>
#include <cstring>

#include "platform/os_files.h"

#ifndef _WIN32
#include <signal.h>
#endif

namespace kv::cli {

namespace {
volatile std::sig_atomic_t g_pending = 0;  // not yet seen by the command

extern "C" void on_signal(int sig) {
  g_pending = 1;
  os::request_stop(sig);
}
}  // namespace

void install_stop_signals() {
#ifdef _WIN32
  std::signal(SIGINT, on_signal);
  std::signal(SIGTERM, on_signal);
#else
  // Without SA_RESTART: a read or an open waiting on a pipe or FIFO returns at the signal.
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
#endif
  os::ignore_file_size_signal();
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
  return os::stop_requested();
}

}  // namespace kv::cli
