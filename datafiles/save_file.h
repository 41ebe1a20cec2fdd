// The one data file a command has open for writing (save_file_number): opening it with
// its two header lines, writing data lines, and closing it. The file is written beside
// its final path and moved into place only when kept, so an abandoned recording never
// destroys an existing file of that name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {
struct Form1;

// Opens `path` for the recording or simulation: header line N (" 1000 ") and the kind
// word ("PHASE" or "POINCARE"). On failure tells the user which file and why, and
// returns false with no file open; `error`, when given, receives the text told.
bool open_save_file(Form1& f, const std::string& path, std::int32_t n, std::string_view kind,
                    std::string* error = nullptr);
// Writes one data line. Returns false after a write error; the caller stops its run and
// terminate_file then tells the user which file failed and why.
bool write_data_line(Form1& f, std::string_view line);
// Closes the open data file and keeps it (what was written stays). With no file open it
// does nothing. A failure of the final write or move is reported to the user, the text
// also given in `error`; false then.
bool terminate_file(Form1& f, std::string* error = nullptr);
// Closes the open data file and throws it away (a recording ended with HALT).
void discard_save_file(Form1& f);

}  // namespace kv
