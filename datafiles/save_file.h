// The one data file a command has open for writing (save_file_number): opening it with
// its two header lines, writing data lines, and closing it. The file is written beside
// its final path and moved into place only when kept, so an abandoned recording never
// destroys an existing file of that name. The file's state is a SaveState, its slot is in
// a FileTable, and what goes wrong is given back in `error`, naming the file and the
// reason, for the caller to tell.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "datafiles/save_state.h"

namespace kv {
class FileTable;

// Opens `path` for the recording or simulation: header line N (" 1000 ") and the kind
// word ("PHASE" or "POINCARE"). On failure returns false with no file open; `error`, when
// given, then says which file and why.
bool open_save_file(SaveState& save, FileTable& files, const std::string& path, std::int32_t n,
                    std::string_view kind, std::string* error = nullptr);
// Writes one data line. Returns false after a write error; the caller stops its run and
// terminate_file then tells which file failed and why.
bool write_data_line(const SaveState& save, FileTable& files, std::string_view line);
// Closes the open data file and keeps it (what was written stays). With no file open it
// does nothing. False when the final write or move fails; `error` then says which file,
// why, and what was kept.
bool terminate_file(SaveState& save, FileTable& files, std::string* error = nullptr);
// Closes the open data file and throws it away (a recording ended with HALT).
void discard_save_file(SaveState& save, FileTable& files);

// The same calls on an owner of both, the window's state: its SaveState and its open files
// `files`. Commands that still work on the whole window state call these.
template <class Owner>
concept SaveFileOwner = std::derived_from<Owner, SaveState> && requires(Owner& o) {
  { o.files } -> std::convertible_to<FileTable&>;
};

template <SaveFileOwner Owner>
bool open_save_file(Owner& o, const std::string& path, std::int32_t n, std::string_view kind,
                    std::string* error = nullptr) {
  return open_save_file(o, o.files, path, n, kind, error);
}
template <SaveFileOwner Owner>
bool write_data_line(Owner& o, std::string_view line) {
  return write_data_line(o, o.files, line);
}
template <SaveFileOwner Owner>
bool terminate_file(Owner& o, std::string* error = nullptr) {
  return terminate_file(o, o.files, error);
}
template <SaveFileOwner Owner>
void discard_save_file(Owner& o) {
  discard_save_file(o, o.files);
}

}  // namespace kv
