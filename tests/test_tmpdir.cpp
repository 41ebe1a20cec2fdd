// Linked into every test program: the tests' files go to a temporary folder of their build's
// own (KV_TEST_TMPDIR, see tests/CMakeLists.txt), so that two build folders or clones testing
// at once never write the same file, and each run overwrites the previous run's files. Set
// before main, for temp_directory_path() and for the programs a test starts.
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {
const bool kTestTmpdirSet = [] {
#ifndef _WIN32
  std::error_code ec;
  std::filesystem::create_directories(KV_TEST_TMPDIR, ec);
  if (!ec) setenv("TMPDIR", KV_TEST_TMPDIR, 1);  // otherwise the system's, as before
#endif
  return true;
}();
}  // namespace
