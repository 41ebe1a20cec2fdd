// The operating system's file calls behind the program's text files (text_files.h), one
// small function each, so that the rules of writing a file (a temporary name, flushed to
// the disk, then moved over the chosen path) read the same on every platform:
//   Linux:   open(O_EXCL), write, fsync, close, rename, unlink
//   Windows: _wopen(_O_EXCL | _O_BINARY), _write, _commit, _close, MoveFileExW with
//            MOVEFILE_REPLACE_EXISTING (rename does not replace there), _wunlink
// Paths are UTF-8; on Windows they are converted to UTF-16 for the wide calls. A file is a
// C runtime descriptor on both. Failures return false or -1 and leave an error number
// (errno values) in `err`, or for replace_file the reason as text.
#pragma once

#include <cstddef>
#include <string>

namespace kv::os {

// Creates `path` for writing; fails with EEXIST in `err` when the name is taken.
int create_new_file(const std::string& path, int& err);
int open_for_reading(const std::string& path, int& err);
// Creates a file with no name in the folder `dir` (Linux: O_TMPFILE), which vanishes with
// the program whatever way it ends; -1 where the system or file system offers none.
int create_unnamed_file(const std::string& dir, int& err);
// Gives the open file `fd` (unnamed, or named `name`) the path `to`, replacing a file of
// that name: an unnamed file is linked under a fresh hidden name in to's folder, then that
// name is moved over `to`.
bool name_file(int fd, const std::string& name, const std::string& to, std::string& reason);
// Cuts the open file to `size` bytes.
bool truncate_open_file(int fd, long long size);
// Whether the open file still has a name in some folder (it was not removed).
bool has_a_name(int fd);
// The whole of `n` bytes, retried after interruptions; false after a write error, with
// the bytes that did reach the file in `written`.
bool write_all(int fd, const char* data, std::size_t n, std::size_t& written, int& err);
inline bool write_all(int fd, const char* data, std::size_t n, int& err) {
  std::size_t written = 0;
  return write_all(fd, data, n, written, err);
}
// Bytes read (0 at the end of the file) or -1.
long long read_some(int fd, char* data, std::size_t n, int& err);
// Size in bytes, or -1 when it cannot be told.
long long file_size(int fd);
// Asks the system to put what was written on the disk. A file that cannot be synced by its
// nature (EINVAL: a pipe, some special file systems) counts as synced.
bool sync_to_disk(int fd, int& err);
bool close_file(int fd, int& err);
// What a path names, following symbolic links.
struct FileInfo {
  bool exists = false, is_folder = false, is_regular = false;
  unsigned mode = 0;  // permission bits (POSIX)
  long long owner = -1, group = -1;
};
FileInfo file_info(const std::string& path);
// Whether the user may write the existing file at `path` (errno value in `err` if not).
bool may_write(const std::string& path, int& err);
// Gives the open file `fd` the permissions (and, where the program may, the owner) of the
// file it is to replace.
void copy_permissions(int fd, const FileInfo& from);
// Cuts the file at `path` to `size` bytes.
bool truncate_file(const std::string& path, long long size);
// Makes a rename inside the folder durable (where the system needs it).
void sync_folder(const std::string& dir);
// Moves `from` over `to`, replacing a file of that name.
bool replace_file(const std::string& from, const std::string& to, std::string& reason);
bool remove_file(const std::string& path);
// A stop asked for by a signal (SIGINT, SIGTERM, SIGHUP): request_stop is safe in a signal
// handler. Once it is set, a read or an open that a signal interrupts fails (EINTR) rather
// than being retried, so a read that waits on a silent pipe or FIFO ends at once.
void request_stop(int signal_number);
// The signal that asked for the stop, 0 when none did.
int stop_requested();
// A file-size limit (ulimit -f) then makes write() fail with EFBIG, which the writers
// treat as a full disk, instead of ending the program by SIGXFSZ.
void ignore_file_size_signal();
// The system's text for an error number.
std::string error_text(int err);
// Full path of the running program; empty when the system does not tell.
std::string executable_path();

}  // namespace kv::os
