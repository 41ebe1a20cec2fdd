#include "datafiles/file_kind.h"

#include "platform/shown_text.h"

namespace kv {

FileKind file_kind(std::string_view word) {
  if (word == "PHASE") return FileKind::orbit;
  if (word == "POINCARE") return FileKind::poincare;
  if (word == "FFT") return FileKind::spectrum;
  return FileKind::unknown;
}

std::string wrong_kind(const std::string& path, std::string_view word, FileKind wanted) {
  const char* name = wanted == FileKind::orbit      ? "an orbit file"
                     : wanted == FileKind::poincare ? "a Poincare file"
                                                    : "a spectrum file";
  const char* label = wanted == FileKind::orbit      ? "PHASE"
                      : wanted == FileKind::poincare ? "POINCARE"
                                                     : "FFT";
  return "The file " + path + " is not " + name + ": line 2 reads \"" + shown_bytes(word) +
         "\", not " + label + ".";
}

}  // namespace kv
