// The folder the file dialogs start in: the working folder for a program started from a
// terminal, else documents, then home; the program's folder only when nothing is known.
#include "platform/start_folder.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>

#include "platform/text_files.h"

namespace kv {
namespace {

StartFolderFacts installed() {
  StartFolderFacts f;
  f.program_dir = "/usr/lib/kestavor";
  f.current_dir = "/home/ann/runs";
  f.documents_dir = "/home/ann/Documents";
  f.home_dir = "/home/ann";
  return f;
}

// From a terminal the working folder comes first; from the desktop documents, then home;
// an unknown folder gives way to the next.
TEST(StartFolder, FromATerminalTheWorkingFolderElseDocumentsThenHome) {
  StartFolderFacts f = installed();
  f.from_terminal = true;
  EXPECT_EQ(dialog_start_folder(f), "/home/ann/runs");
  f.from_terminal = false;
  EXPECT_EQ(dialog_start_folder(f), "/home/ann/Documents");
  f.documents_dir.clear();
  EXPECT_EQ(dialog_start_folder(f), "/home/ann");
  f.home_dir.clear();
  EXPECT_EQ(dialog_start_folder(f), "/home/ann/runs");
  f.current_dir.clear();
  EXPECT_EQ(dialog_start_folder(f), "/usr/lib/kestavor");
  f = installed();
  f.from_terminal = true;
  f.current_dir.clear();  // removed under the program
  EXPECT_EQ(dialog_start_folder(f), "/home/ann/Documents");
}

// The observed facts of this test program.
#ifndef _WIN32  // the environment is set with setenv
class ObservedFacts : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* home = std::getenv("HOME");
    if (home) saved_home_ = home, had_home_ = true;
    dir_ =
        std::filesystem::temp_directory_path() / ("kv_start_folder_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_ / "Documents");
    ::setenv("HOME", dir_.c_str(), 1);
  }
  void TearDown() override {
    if (had_home_)
      ::setenv("HOME", saved_home_.c_str(), 1);
    else
      ::unsetenv("HOME");
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_;
  std::string saved_home_;
  bool had_home_ = false;
};

TEST_F(ObservedFacts, NameTheProgramHomeAndDocumentsFolders) {
  StartFolderFacts f = observe_start_folder_facts();
  EXPECT_EQ(f.program_dir, program_directory());
  EXPECT_EQ(f.from_terminal, ::isatty(0) == 1 || ::isatty(1) == 1);
  EXPECT_EQ(f.current_dir, std::filesystem::current_path().string());
  EXPECT_EQ(f.home_dir, dir_.string());
  EXPECT_EQ(f.documents_dir, (dir_ / "Documents").string());

  // A documents folder the window system names is taken when it exists, else dropped.
  const std::filesystem::path mine = dir_ / "Mine";
  std::filesystem::create_directory(mine);
  EXPECT_EQ(observe_start_folder_facts(mine.string()).documents_dir, mine.string());
  EXPECT_EQ(observe_start_folder_facts((dir_ / "missing").string()).documents_dir, "");
  std::filesystem::remove(dir_ / "Documents");
  EXPECT_EQ(observe_start_folder_facts().documents_dir, "");
  ::setenv("HOME", (dir_ / "missing").c_str(), 1);
  EXPECT_EQ(observe_start_folder_facts().home_dir, "");
}

#endif

}  // namespace
}  // namespace kv
