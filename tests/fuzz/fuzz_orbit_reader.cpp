// The orbit reader on any bytes. Beyond not crashing: the text read from memory, from a
// mapped file and from a file streamed in chunks gives the same items, velocities,
// outcome and message; a message shows no raw control byte; no more records are counted
// than the items allow. Then a file written by the orbit writer from the input's numbers
// reads back, line for line, as the writer's own text.
#include <sys/mman.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "datafiles/data_lines.h"
#include "datafiles/orbit_reader.h"
#include "platform/input_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using kv::OrbitReader;

std::string read_all(OrbitReader& in) {
  std::string log;
  double n = 0;
  std::string word;
  log += std::to_string(static_cast<int>(in.read_number(n))) + "|";
  log += std::to_string(static_cast<int>(in.read_word(word))) + word + "|";
  float v = 0;
  OrbitReader::Status st;
  long guard = 0;
  while ((st = in.read_velocity(v, 1 + guard % 3)) == OrbitReader::Status::ok) {
    char buf[32];
    log.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
    log += ",";
    ++guard;
  }
  log +=
      std::to_string(static_cast<int>(st)) + " " + std::to_string(in.records()) + " " + in.error();
  for (char c : in.error())
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) {
      std::fprintf(stderr, "raw byte in the message: %s\n", in.error().c_str());
      std::abort();
    }
  return log;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  OrbitReader mem(text);
  const std::string expected = read_all(mem);
  // Every record has four items, each at least one byte or a comma.
  check(mem.records() * 4 <= static_cast<long long>(size) + 1, "more records than items");

  static int fd = -1;
  if (fd < 0) fd = ::memfd_create("kv-fuzz-orbit", 0);
  check(fd >= 0, "memfd");
  check(::ftruncate(fd, 0) == 0 && ::pwrite(fd, text.data(), size, 0) == static_cast<ssize_t>(size),
        "memfd write");
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  for (auto access : {kv::InputFile::Access::map, kv::InputFile::Access::stream}) {
    kv::InputFile file;
    std::string error;
    check(file.open(path, error, access), "open");
    OrbitReader in(file);
    check(read_all(in) == expected, "file reading differs from memory reading");
  }

  // The writer's lines from the input's numbers (velocities of three decimals) read back
  // as those numbers: the nearest float to each decimal, record by record.
  std::string written = " 0 \r\nPHASE\r\n";
  std::vector<float> velocities;
  char line[160];
  for (std::size_t i = 0; i + 8 <= size && velocities.size() < 64; i += 8) {
    std::int32_t a, b;
    std::memcpy(&a, data + i, 4);
    std::memcpy(&b, data + i + 4, 4);
    a %= 100000000;  // up to 100000 in size: the written pattern shows every decimal
    written.append(line, kv::format_orbit_line(line, (b & 0xffff) * 0.002, (b >> 16) / 1e4,
                                               static_cast<double>(a) / 1000.0, b % 100));
    written += "\r\n";
    const std::string decimal = std::to_string(a) + "e-3";
    float expected = 0;
    std::from_chars(decimal.data(), decimal.data() + decimal.size(), expected);
    velocities.push_back(expected);
  }
  OrbitReader back(written);
  double n = 0;
  std::string word;
  check(back.read_number(n) == OrbitReader::Status::ok &&
            back.read_word(word) == OrbitReader::Status::ok && word == "PHASE",
        "header of a written file");
  for (float expected : velocities) {
    float v = 1;
    check(back.read_velocity(v) == OrbitReader::Status::ok, "a written record does not read");
    if (v != expected) {
      std::fprintf(stderr, "read %.9g, written %.9g\n%s\n", v, expected, written.c_str());
      std::abort();
    }
  }
  float v = 0;
  check(back.read_velocity(v) == OrbitReader::Status::end &&
            back.records() == static_cast<long long>(velocities.size()),
        "a written file holds another number of records");
  return 0;
}
