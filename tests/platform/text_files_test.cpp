#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text_files.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {
std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
struct TempDir {
  fs::path path;
  TempDir() {
    path = fs::temp_directory_path() / ("kv_files_" + std::to_string(::getpid()) + "_" +
                                        std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(path);
  }
  ~TempDir() { fs::remove_all(path); }
};
}  // namespace

TEST(TextFiles, KeptFileHasCrLfLinesAndReplacesTheOldOne) {
  TempDir d;
  fs::path p = d.path / "a.pha";
  { std::ofstream(p) << "old"; }
  FileTable t;
  int n = t.free_file();
  EXPECT_EQ(n, 1);
  OutputFile& f = t.open_output(n);
  ASSERT_TRUE(f.open(p.string()));
  EXPECT_EQ(t.free_file(), 2);
  EXPECT_EQ(slurp(p), "old");  // untouched until the file is kept
  f.print_line(" 3 ");
  f.print_line("PHASE");
  ASSERT_TRUE(t.close(n, true));
  EXPECT_EQ(slurp(p), " 3 \r\nPHASE\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(d.path), fs::directory_iterator()), 1);
}

TEST(TextFiles, DiscardedFileLeavesTheOldOneAndNoLeftovers) {
  TempDir d;
  fs::path p = d.path / "b.poi";
  { std::ofstream(p) << "old"; }
  FileTable t;
  OutputFile& f = t.open_output(1);
  ASSERT_TRUE(f.open(p.string()));
  f.print_line("x");
  t.close(1, false);
  EXPECT_EQ(slurp(p), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(d.path), fs::directory_iterator()), 1);
}

TEST(TextFiles, FailuresNameTheFileAndTheReason) {
  FileTable t;
  OutputFile& f = t.open_output(1);
  EXPECT_FALSE(f.open("/nonexistent-folder/x.pha"));
  EXPECT_NE(f.error().find("/nonexistent-folder/x.pha"), std::string::npos);
  EXPECT_NE(f.error().find("No such file"), std::string::npos);
  std::string contents, error;
  EXPECT_FALSE(read_whole_file("/nonexistent-folder/y.pha", contents, error));
  EXPECT_NE(error.find("y.pha"), std::string::npos);
}
