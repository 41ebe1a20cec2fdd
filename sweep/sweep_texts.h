// A sweep request read from texts as the user typed them: kestavor-cli's and kestavor-mpi's
// options and the window's sweep dialog fill the same SweepTexts and read them here, so
// every face refuses the same input with the same message (the field named as the face
// names it), and the command line that repeats a request.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "sweep/sweep.h"

namespace kv {

struct SweepTexts {
  std::string param, param2;  // a panel box named as its option without the dashes
  std::string from, to, from2, to2, steps = "1", steps2 = "1";
  std::string transient, points, threads, map, tolerance, limit;  // empty: the default
  bool follow = false;
};

// How a face names a field in its messages, given the command line's option ("--from2").
using SweepFieldName = std::function<std::string(std::string_view option)>;

// The panel box a parameter name ("drive-amplitude") names; null when none.
const PanelBox* swept_box(std::string_view name);

// Fills the axes, counts, kind, mode and threads of `r` (its base panel is left alone);
// an empty text when the texts are usable, otherwise a message naming the field (through
// `name`; the option itself when null). The request itself is checked by check_sweep.
std::string read_sweep_texts(const SweepTexts& t, SweepRequest& r, const SweepFieldName& name = {});

// The command line that repeats the sweep (base panel, axes, counts, kind, mode), without
// the files and the thread count, for the file's header.
std::string repeat_command(const SweepRequest& r);

}  // namespace kv
