// Shared by the targets of print's file reading: the input is written to a file in memory
// (/dev/shm) and read by Plot file, the reader "Print" and kestavor-cli print draw from.
// Beyond not crashing or throwing: a file that is not drawn is refused with a reason that
// names the file and shows no raw control byte; a drawn spectrum holds only finite, positive
// powers.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "chaos/chaos_state.h"
#include "datafiles/save_state.h"
#include "fft/plot_file.h"
#include "fft/spectrum_state.h"
#include "platform/run_control.h"
#include "plot/plot_state.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

inline void plot_bytes(const std::string& bytes) {
  // One set of plots for every input: making the surfaces anew each time would cost more
  // than the reading.
  static kv::PlotState plots;
  static kv::SpectrumState spectrum;
  static kv::ChaosState chaos;
  static kv::SaveState save;
  static const std::string path = "/dev/shm/kv-fuzz-plot-" + std::to_string(::getpid());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  check(f != nullptr, "the input file cannot be written");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  kv::RunToEnd run;
  const kv::PlotFileOutcome out =
      kv::plot_file({plots, spectrum, chaos, save}, kv::PlotFileRequest{path, 0}, run);
  if (out.done()) {
    if (out.kind == kv::PlotFileOutcome::Kind::spectrum)
      for (int j = 1; j <= kv::kPlotFileSpectrumLines; ++j)
        check(std::isfinite(spectrum.spectrum[j]) && spectrum.spectrum[j] > 0,
              "a drawn spectrum holds a power that is not finite and positive");
  } else {
    check(out.reason.find(path) != std::string::npos, "a refusal does not name the file");
    for (char c : out.reason)
      check(static_cast<unsigned char>(c) >= 0x20 || c == '\n', "a raw control byte in a message");
  }
  std::remove(path.c_str());
}

}  // namespace
