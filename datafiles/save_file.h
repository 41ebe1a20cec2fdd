// The one data file a command has open for writing (save_file_number): opening it with
// its two header lines, writing data lines, and closing it. The file is written beside
// its final path and moved into place only when kept, so an abandoned recording never
// destroys an existing file of that name. The file's state is a SaveState, its slot is in
// a FileTable, and what goes wrong is told through the dialogs (and given back in
// `error`).
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "datafiles/save_state.h"

namespace kv {
class Dialogs;
class FileTable;

// Opens `path` for the recording or simulation: header line N (" 1000 ") and the kind
// word ("PHASE" or "POINCARE"). On failure tells the user which file and why, and
// returns false with no file open; `error`, when given, receives the text told.
bool open_save_file(SaveState& save, FileTable& files, Dialogs& dialogs, const std::string& path,
                    std::int32_t n, std::string_view kind, std::string* error = nullptr);
// Writes one data line. Returns false after a write error; the caller stops its run and
// terminate_file then tells the user which file failed and why.
bool write_data_line(const SaveState& save, FileTable& files, std::string_view line);
// Closes the open data file and keeps it (what was written stays). With no file open it
// does nothing. A failure of the final write or move is reported to the user, the text
// also given in `error`; false then.
bool terminate_file(SaveState& save, FileTable& files, Dialogs& dialogs,
                    std::string* error = nullptr);
// Closes the open data file and throws it away (a recording ended with HALT).
void discard_save_file(SaveState& save, FileTable& files);

// The same calls on an owner of all three, the window's state: its SaveState, its open
// files `files` and its services `sys`. Commands that still work on the whole window
// state call these.
template <class Owner>
concept SaveFileOwner = std::derived_from<Owner, SaveState> && requires(Owner& o) {
  { o.files } -> std::convertible_to<FileTable&>;
  { o.sys.dialogs } -> std::convertible_to<Dialogs&>;
};

template <SaveFileOwner Owner>
bool open_save_file(Owner& o, const std::string& path, std::int32_t n, std::string_view kind,
                    std::string* error = nullptr) {
  return open_save_file(o, o.files, o.sys.dialogs, path, n, kind, error);
}
template <SaveFileOwner Owner>
bool write_data_line(Owner& o, std::string_view line) {
  return write_data_line(o, o.files, line);
}
template <SaveFileOwner Owner>
bool terminate_file(Owner& o, std::string* error = nullptr) {
  return terminate_file(o, o.files, o.sys.dialogs, error);
}
template <SaveFileOwner Owner>
void discard_save_file(Owner& o) {
  discard_save_file(o, o.files);
}

}  // namespace kv
