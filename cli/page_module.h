// The Qt part of kestavor-cli print, kept in a module of its own (kestavor-print.so) that
// the command loads when it runs: the other commands then start without loading Qt.
#pragma once

#include <string>

namespace kv {
struct SweepPicture;
struct PlotState;
struct SpectrumState;
struct ChaosState;
struct Outcome;
}  // namespace kv

// Writes the page of the plotted state to `output` as PDF (`pdf` true) or PNG. False with
// the reason in `why_not` when the page cannot be opened; otherwise `printed` tells how
// the printing ended.
using KvWritePage = bool (*)(const kv::PlotState& plots, const kv::SpectrumState& spectrum,
                             const kv::ChaosState& chaos, bool pdf, const std::string& output,
                             std::string& why_not, kv::Outcome& printed);

inline constexpr const char* kPageModuleName = "kestavor-print.so";
inline constexpr const char* kPageModuleEntry = "kestavor_write_page";

// Writes a sweep's picture as a PNG file of width x height pixels; false with the reason in
// `error`.
using KvWriteSweepPng = bool (*)(const kv::SweepPicture& picture, int width, int height,
                                 const std::string& output, std::string& error);
inline constexpr const char* kSweepPngEntry = "kestavor_write_sweep_png";

// The entry `name` of the page module, loaded on first use (beside the program, or in the
// installed library folder); null with the reason in `why_not`.
void* load_page_module_entry(const char* name, std::string& why_not);
