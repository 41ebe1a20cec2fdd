// The data file a command writes, on its state groups alone (a SaveState and a FileTable):
// the header lines, the file kept, and an opening that fails given back as a text naming
// the file. (A discarded file: TextFiles, and HALT in every recording's tests.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "datafiles/save_file.h"
#include "platform/text_files.h"
#include "tests/support/files.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class SaveFile : public ::testing::Test {
 protected:
  std::string path(const char* name) const { return dir.file(name); }
  test::TempDir dir;
  SaveState save;
  FileTable files;
};

TEST_F(SaveFile, HeaderAndLinesAreKeptAtThePath) {
  ASSERT_TRUE(open_save_file(save, files, path("a.poi"), 3, "POINCARE"));
  EXPECT_NE(save.save_file_number, 0);
  EXPECT_TRUE(write_data_line(save, files, "1.5 -2.0"));
  EXPECT_TRUE(write_data_line(save, files, "0.0 0.1"));
  EXPECT_FALSE(fs::exists(path("a.poi")));  // written beside the path until kept
  std::string error;
  EXPECT_TRUE(terminate_file(save, files, &error));
  EXPECT_EQ(error, "");
  EXPECT_EQ(save.save_file_number, 0);
  EXPECT_EQ(test::read_file(path("a.poi")), " 3 \r\nPOINCARE\r\n1.5 -2.0\r\n0.0 0.1\r\n");
  // Nothing open any more: closing again does nothing, a line has nowhere to go.
  EXPECT_TRUE(terminate_file(save, files));
  EXPECT_FALSE(write_data_line(save, files, "1 2"));
}

TEST_F(SaveFile, AFileThatCannotBeOpenedIsNamedInTheError) {
  std::string error;
  EXPECT_FALSE(open_save_file(save, files, path("no such folder/c.pha"), 10, "PHASE", &error));
  EXPECT_EQ(save.save_file_number, 0);
  EXPECT_NE(error.find("c.pha"), std::string::npos) << error;
  // No slot was left taken.
  EXPECT_FALSE(files.is_open(1));
}

}  // namespace
}  // namespace kv
