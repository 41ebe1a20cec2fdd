// The folder the open and save dialogs start in before the user has chosen one (the
// window remembers the last folder per kind of file after that).
//
// Where the user works: the current working directory when the program was started from
// a terminal (the user chose that folder), else the user's documents folder (the home
// folder when there is none). Never the program's own folder (in a build, the build
// folder full of CMake files; installed, a folder nobody may write), unless nothing else
// is known.
#pragma once

#include <string>

namespace kv {

struct StartFolderFacts {
  std::string program_dir;
  bool from_terminal = false;  // standard input or output is a terminal
  std::string current_dir;     // empty when unknown
  std::string documents_dir;   // empty when the platform names none
  std::string home_dir;        // empty when unknown
};

// The rule itself: no file system access.
std::string dialog_start_folder(const StartFolderFacts& facts);

// The facts of this process: the program's folder, whether standard input or output is a
// terminal, the working, documents and home folders.
// `documents_dir` comes from the window system (empty: $HOME/Documents when that folder
// exists); folders that do not exist are left empty.
StartFolderFacts observe_start_folder_facts(const std::string& documents_dir = {});

// dialog_start_folder of this process's facts.
std::string default_dialog_folder(const std::string& documents_dir = {});

}  // namespace kv
