// The Qt part of kestavor-cli print, kept in a module of its own (kestavor-print.so) that
// the command loads when it runs: the other commands then start without loading Qt.
#pragma once

#include <string>

namespace kv {
struct PlotState;
struct SpectrumState;
struct ChaosState;
struct PrintOutcome;
}  // namespace kv

// Writes the page of the plotted state to `output` as PDF (`pdf` true) or PNG. False with
// the reason in `why_not` when the page cannot be opened; otherwise `printed` tells how
// the printing ended.
using KvWritePage = bool (*)(const kv::PlotState& plots, const kv::SpectrumState& spectrum,
                             const kv::ChaosState& chaos, bool pdf, const std::string& output,
                             std::string& why_not, kv::PrintOutcome& printed);

inline constexpr const char* kPageModuleName = "kestavor-print.so";
inline constexpr const char* kPageModuleEntry = "kestavor_write_page";
