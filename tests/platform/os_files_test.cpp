// The operating system's file calls under the text files: the same rules on Linux and on
// Windows (where a rename does not replace an existing file).
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/os_files.h"
#include "platform/text_files.h"
#include "tests/support/files.h"

using namespace kv;
namespace fs = std::filesystem;

using test::read_file;
using test::TempDir;

TEST(OsFiles, NewFileIsExclusiveBinarySyncedAndReplacesTheTarget) {
  TempDir d;
  const std::string tmp = d.file("t.tmp"), target = d.file("a.pha");
  test::write_file(target, "old");
  int err = 0;
  const int fd = os::create_new_file(tmp, err);
  ASSERT_GE(fd, 0) << os::error_text(err);
  // A second create of the same name is refused with EEXIST (the caller picks another name).
  EXPECT_LT(os::create_new_file(tmp, err), 0);
  EXPECT_EQ(err, EEXIST);
  ASSERT_TRUE(os::write_all(fd, "1\r\n2\n", 5, err));  // bytes go out untranslated
  EXPECT_TRUE(os::sync_to_disk(fd, err)) << os::error_text(err);
  EXPECT_EQ(os::file_size(fd), 5);
  ASSERT_TRUE(os::close_file(fd, err));
  std::string reason;
  ASSERT_TRUE(os::replace_file(tmp, target, reason)) << reason;
  EXPECT_EQ(read_file(target), "1\r\n2\n");
  EXPECT_FALSE(fs::exists(tmp));
}

TEST(OsFiles, FailuresLeaveTheTargetAndGiveAReason) {
  TempDir d;
  const std::string target = d.file("keep.poi");
  test::write_file(target, "old");
  std::string reason;
  EXPECT_FALSE(os::replace_file(d.file("missing.tmp"), target, reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(read_file(target), "old");
  EXPECT_FALSE(os::remove_file(d.file("missing.tmp")));
  int err = 0;
  EXPECT_LT(os::open_for_reading(d.file("missing.pha"), err), 0);
  EXPECT_EQ(err, ENOENT);
#ifndef _WIN32
  // A sync that fails is told, not taken for done.
  EXPECT_FALSE(os::sync_to_disk(-1, err));
  EXPECT_EQ(err, EBADF);
#endif
  EXPECT_TRUE(os::remove_file(target));
  EXPECT_FALSE(fs::exists(target));
}

TEST(OsFiles, ProgramDirectoryIsTheFolderOfTheRunningProgram) {
  const std::string exe = os::executable_path();
  ASSERT_FALSE(exe.empty());
  EXPECT_NE(fs::path(exe).filename().string().find("test_platform"), std::string::npos) << exe;
  EXPECT_EQ(fs::path(program_directory()), fs::path(exe).parent_path());
}
