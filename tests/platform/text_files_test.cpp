// Output files: written through a temporary file, kept or discarded as a whole; after a
// write error the chosen file stays as it was and what was written is kept beside it;
// the target is honoured as a plain open would (links, permissions, folders).
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>

#include "platform/text_files.h"
#include "tests/support/files.h"

using namespace kv;
namespace fs = std::filesystem;

using test::TempDir;

TEST(TextFiles, KeptFileHasCrLfLinesAndReplacesTheOldOne) {
  TempDir d;
  fs::path p = d.path() / "a.pha";
  test::write_file(p, "old");
  FileTable t;
  int n = t.free_file();
  EXPECT_EQ(n, 1);
  OutputFile& f = t.open_output(n);
  ASSERT_TRUE(f.open(p.string()));
  EXPECT_EQ(t.free_file(), 2);
  EXPECT_EQ(test::read_file(p), "old");  // untouched until the file is kept
  f.print_line(" 3 ");
  f.print_line("PHASE");
  ASSERT_TRUE(t.close(n, true));
  EXPECT_EQ(test::read_file(p), " 3 \r\nPHASE\r\n");
  EXPECT_EQ(d.names().size(), 1u);
}

TEST(TextFiles, DiscardedFileLeavesTheOldOneAndNoLeftovers) {
  TempDir d;
  fs::path p = d.path() / "b.poi";
  test::write_file(p, "old");
  FileTable t;
  OutputFile& f = t.open_output(1);
  ASSERT_TRUE(f.open(p.string()));
  f.print_line("x");
  t.close(1, false);
  EXPECT_EQ(test::read_file(p), "old");
  EXPECT_EQ(d.names().size(), 1u);
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

// Full disks (a file-size limit), other users, links and permission bits are POSIX here.
#ifndef _WIN32
namespace {
// Runs `body` in a child process as an ordinary user (nobody); true when it returned true.
template <typename Body>
bool as_ordinary_user(Body body) {
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(TextFiles, AFullDiskLeavesTheOldFileAndKeepsTheWholeLinesBesideIt) {
  TempDir d;
  const fs::path p = d.path() / "old.pha";
  test::write_file(p, "the earlier recording");
  OutputFile f;
  bool committed = true;
  test::with_file_size_limit(100000, [&] {
    ASSERT_TRUE(f.open(p.string()));
    f.keep_incomplete(2);
    f.print_line(" 50000 ");
    f.print_line("PHASE");
    for (int i = 0; i < 50000 && f.print_line("0.123,-1.2345,0.5678,0"); ++i) {
    }
    committed = f.commit();
  });
  EXPECT_FALSE(committed);
  EXPECT_NE(f.error().find("Cannot write the file " + p.string()), std::string::npos);
  EXPECT_EQ(test::read_file(p), "the earlier recording");
  const fs::path kept = d.path() / "old.incomplete.pha";
  EXPECT_EQ(f.kept_path(), kept.string());
  const std::string text = test::read_file(kept);
  ASSERT_GT(text.size(), 65536u);  // beyond the first buffer's worth
  EXPECT_LE(text.size(), 100000u);
  EXPECT_EQ(text.substr(0, 16), " 50000 \r\nPHASE\r\n");
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");  // cut back to a whole line
  EXPECT_EQ(f.kept_lines(), std::count(text.begin(), text.end(), '\n'));
  EXPECT_NE(f.what_was_kept().find("was not changed"), std::string::npos);
  EXPECT_NE(f.what_was_kept().find(kept.string()), std::string::npos);
  EXPECT_EQ(d.names().size(), 2u);  // no temporary file left
}

TEST(TextFiles, AFailureBeforeAnyDataLineKeepsNothingAndSaysSo) {
  TempDir d;
  const fs::path p = d.path() / "new.poi";
  OutputFile f;
  bool committed = true;
  test::with_file_size_limit(10, [&] {
    ASSERT_TRUE(f.open(p.string()));
    f.keep_incomplete(2);
    f.print_line(" 100 ");
    f.print_line("POINCARE");
    f.print_line("1.5,2.5");
    committed = f.commit();
  });
  EXPECT_FALSE(committed);
  EXPECT_TRUE(f.kept_path().empty());
  EXPECT_NE(f.what_was_kept().find("was not created"), std::string::npos);
  EXPECT_NE(f.what_was_kept().find("Nothing"), std::string::npos);
  EXPECT_TRUE(d.names().empty());
}

TEST(TextFiles, TheTargetIsHonouredAsAPlainOpenWould) {
  TempDir d;
  // A symbolic link is written through to its target.
  const fs::path target = d.path() / "real.pha", link = d.path() / "link.pha";
  test::write_file(target, "old");
  fs::create_symlink(target, link);
  OutputFile f;
  ASSERT_TRUE(f.open(link.string()));
  f.print_line("new");
  ASSERT_TRUE(f.commit());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::read_file(target), "new\r\n");

  // The replaced file keeps its permissions.
  const fs::path secret = d.path() / "secret.pha";
  test::write_file(secret, "old");
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(f.open(secret.string()));
  f.print_line("new");
  ASSERT_TRUE(f.commit());
  EXPECT_EQ(fs::status(secret).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  // A folder is not a file, with or without a trailing separator.
  EXPECT_FALSE(f.open(d.path().string()));
  EXPECT_NE(f.error().find("Is a directory"), std::string::npos) << f.error();
  EXPECT_FALSE(f.open(d.path().string() + "/missing/"));
  EXPECT_NE(f.error().find("not a file name"), std::string::npos) << f.error();

  // The longest name the folder allows can be written: the temporary name is short.
  const fs::path longest = d.path() / std::string(254, 'n');
  ASSERT_TRUE(f.open(longest.string())) << f.error();
  ASSERT_TRUE(f.commit());
  EXPECT_TRUE(fs::exists(longest));
}

TEST(TextFiles, AnOrdinaryUserMayNotReplaceAWriteProtectedFile) {
  TempDir d;
  fs::permissions(d.path(), fs::perms::all);
  const fs::path p = d.path() / "protected.pha";
  test::write_file(p, "old");
  fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_TRUE(as_ordinary_user([&] {
    OutputFile f;
    return !f.open(p.string()) && f.error().find("Permission denied") != std::string::npos;
  }));
  EXPECT_EQ(test::read_file(p), "old");

  // A read-only folder: the message names the folder and why a new file is needed.
  const fs::path ro = d.path() / "ro";
  fs::create_directory(ro);
  test::write_file(ro / "w.pha", "old");
  fs::permissions(ro / "w.pha", fs::perms::all);
  fs::permissions(ro, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec);
  EXPECT_TRUE(as_ordinary_user([&] {
    OutputFile f;
    return !f.open((ro / "w.pha").string()) &&
           f.error().find("the folder " + ro.string()) != std::string::npos &&
           f.error().find("Cannot create the file") == std::string::npos;
  }));
}

TEST(TextFiles, SameFileComparesTheFileNotTheName) {
  TempDir d;
  const fs::path a = d.path() / "a.pha";
  test::write_file(a, "x");
  fs::create_symlink(a, d.path() / "b.pha");
  EXPECT_TRUE(same_file(a.string(), (d.path() / "b.pha").string()));
  EXPECT_TRUE(same_file(a.string(), (d.path() / "." / "a.pha").string()));
  EXPECT_FALSE(same_file(a.string(), (d.path() / "c.pha").string()));
}
#endif  // _WIN32
