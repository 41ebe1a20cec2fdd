#include "platform/start_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/text_files.h"

namespace kv {

std::string dialog_start_folder(const StartFolderFacts& facts) {
  if (facts.from_terminal && !facts.current_dir.empty()) return facts.current_dir;
  if (!facts.documents_dir.empty()) return facts.documents_dir;
  if (!facts.home_dir.empty()) return facts.home_dir;
  // Nothing better known: the working folder, and the program's folder as the last resort.
  return facts.current_dir.empty() ? facts.program_dir : facts.current_dir;
}

namespace {
bool is_folder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}
}  // namespace

StartFolderFacts observe_start_folder_facts(const std::string& documents_dir) {
  StartFolderFacts f;
  f.program_dir = program_directory();
  f.from_terminal = ::isatty(STDIN_FILENO) == 1 || ::isatty(STDOUT_FILENO) == 1;
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  if (!ec) f.current_dir = cwd.string();
  const char* home = std::getenv("HOME");
  if (home && is_folder(home)) f.home_dir = home;
  if (is_folder(documents_dir))
    f.documents_dir = documents_dir;
  else if (documents_dir.empty() && !f.home_dir.empty() && is_folder(f.home_dir + "/Documents"))
    f.documents_dir = f.home_dir + "/Documents";
  return f;
}

std::string default_dialog_folder(const std::string& documents_dir) {
  return dialog_start_folder(observe_start_folder_facts(documents_dir));
}

}  // namespace kv
