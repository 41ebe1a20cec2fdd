// Writes a simulated orbit file for the command-line comparisons (bench/cli_pairs.py):
//   bench_orbit_file RECORDS OUT.pha
// The default pendulum, written line by line as the simulation writes it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/orbit_file_gen.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_orbit_file RECORDS OUT.pha\n");
    return 2;
  }
  const long records = std::atol(argv[1]);
  if (records < 1) {
    std::fprintf(stderr, "bench_orbit_file: RECORDS must be 1 or more\n");
    return 2;
  }
  const std::string text = kv::bench::simulated_orbit_text(records);
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out)) {
    std::perror(argv[2]);
    return 1;
  }
  return 0;
}
