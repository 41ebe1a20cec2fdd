// Opens the USB box given on the command line ("usb" or "usb:VID:PID") and reads COUNT
// records, printing one line per read: "ok <12 hex digits>", "failed", "timeout", "gone".
// Run by the USB backend test inside umockdev's scripted device.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "simulation/box_choice.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: usb_probe usb[:VID:PID] COUNT\n");
    return 2;
  }
  kv::BoxOpening opening = kv::open_box(argv[1]);
  if (!opening.box) {
    std::fprintf(stderr, "%s\n", opening.reason.c_str());
    return 3;
  }
  auto box = std::move(opening.box);
  std::printf("open %s\n", box->name().c_str());
  kv::SampleRecord r{};
  const int count = std::atoi(argv[2]);
  for (int i = 0; i < count; ++i) {
    switch (box->read(r, 200)) {
      case kv::BoxRead::Ok:
        std::printf("ok %02x%02x%02x%02x%02x%02x\n", r[0], r[1], r[2], r[3], r[4], r[5]);
        break;
      case kv::BoxRead::Failed:
        std::printf("failed\n");
        break;
      case kv::BoxRead::Timeout:
        std::printf("timeout\n");
        break;
      case kv::BoxRead::Gone:
        std::printf("gone\n");
        break;
      case kv::BoxRead::EndOfData:
        std::printf("end\n");
        break;
    }
  }
  box->close();
  return 0;
}
