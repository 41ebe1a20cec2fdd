// The libusb backend against a scripted EZ-USB device (umockdev): record format, failed and
// short transfers, an unplugged device, and a recording over it with kestavor-cli.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "acquisition/sample_record.h"
#include "platform/text_files.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

const std::string kData = KV_TEST_DATA_DIR;

bool have_umockdev() {
  return std::system("command -v umockdev-run >/dev/null 2>&1") == 0;
}

struct Output {
  int status = -1;
  std::vector<std::string> lines;
};

// Runs `command` in the scripted device's sandbox; standard output and error are collected.
Output in_sandbox(const std::string& script, const std::string& command) {
  const std::string cmd = "umockdev-run --device " + kData + "/acq_ezusb_box.umockdev --ioctl " +
                          "/dev/bus/usb/001/002=" + kData + "/" + script + " -- " + command +
                          " 2>&1";
  Output out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p)) {
    std::string line(buf);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    out.lines.push_back(line);
  }
  const int rc = pclose(p);
  out.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

// The records of the scripts: 10 counts per 2 ms sample, the marker on samples 0 to 2.
std::string ok_line(int n) {
  const SampleRecord r = make_record(2000 + 10 * n, n < 3, 8000u * n, 0);
  char buf[32];
  std::snprintf(buf, sizeof buf, "ok %02x%02x%02x%02x%02x%02x", r[0], r[1], r[2], r[3], r[4], r[5]);
  return buf;
}

class UsbBox : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_umockdev()) GTEST_SKIP() << "umockdev-run is not installed";
  }
};

TEST_F(UsbBox, ReadsRecordsAndReportsFailedTransfers) {
  const Output o = in_sandbox("acq_ezusb_records.ioctl", std::string(KV_USB_PROBE) + " usb 24");
  ASSERT_EQ(o.status, 0);
  ASSERT_EQ(o.lines.size(), 25u);
  EXPECT_EQ(o.lines[0], "open USB 0547:2131");
  for (int n = 0; n <= 20; ++n) EXPECT_EQ(o.lines[1 + n], ok_line(n));
  EXPECT_EQ(o.lines[22], "failed");  // EPROTO
  EXPECT_EQ(o.lines[23], "failed");  // 3 bytes of 6
  EXPECT_EQ(o.lines[24], ok_line(21));
}

TEST_F(UsbBox, UnpluggedDeviceIsGone) {
  const Output o =
      in_sandbox("acq_ezusb_unplugged.ioctl", std::string(KV_USB_PROBE) + " usb:0547:2131 27");
  ASSERT_EQ(o.status, 0);
  ASSERT_EQ(o.lines.size(), 28u);
  EXPECT_EQ(o.lines[25], ok_line(24));
  EXPECT_EQ(o.lines[26], "gone");
  EXPECT_EQ(o.lines[27], "gone");
}

TEST_F(UsbBox, OtherIdsFindNoBox) {
  const Output o =
      in_sandbox("acq_ezusb_records.ioctl", std::string(KV_USB_PROBE) + " usb:547:2132 1");
  EXPECT_EQ(o.status, 3);
  ASSERT_FALSE(o.lines.empty());
  EXPECT_NE(o.lines[0].find("0547:2132"), std::string::npos) << o.lines[0];
}

TEST_F(UsbBox, RecordingFromTheBoxAndWhenItIsUnplugged) {
  const fs::path dir = fs::temp_directory_path() / "kv_usb_box_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string done = (dir / "done.pha").string(), cut = (dir / "cut.pha").string();
  std::string text, error;

  Output o = in_sandbox("acq_ezusb_records.ioctl",
                        std::string(KV_CLI_PATH) + " record --box usb --orbit 30 -o " + done);
  EXPECT_EQ(o.status, 0);
  ASSERT_TRUE(read_whole_file(done, text, error)) << error;
  // The first line is the seventh record's, its velocity fitted over real records only.
  EXPECT_EQ(text.substr(0, 34), " 30 \r\nPHASE\r\n.01 0.0471 7.8484 0\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 31);

  o = in_sandbox("acq_ezusb_unplugged.ioctl",
                 std::string(KV_CLI_PATH) + " record --box usb --orbit 30 -o " + cut);
  EXPECT_EQ(o.status, 1);
  ASSERT_FALSE(o.lines.empty());
  EXPECT_NE(o.lines.back().find("Recording incomplete"), std::string::npos) << o.lines.back();
  ASSERT_TRUE(read_whole_file(cut, text, error)) << error;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 19);  // samples 7 to 25
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kv
