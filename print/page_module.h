// The entries of the page module kestavor-print.so, which draws the printed page through
// Qt (built in cli/, installed in lib/.../kestavor): the faces without Qt (kestavor-cli,
// the Python module) load it when they print, so that nothing else pays for loading Qt.
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
