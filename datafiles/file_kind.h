// The kind of a data file, decided in one place for every command from the word of its
// second line: PHASE (an orbit file), POINCARE (a Poincare file) or FFT (a spectrum file).
// A command that needs one kind refuses the others with the same message.
#pragma once

#include <string>
#include <string_view>

namespace kv {

enum class FileKind { orbit, poincare, spectrum, unknown };

// The kind named by the second line's word (blanks and quotes already removed).
FileKind file_kind(std::string_view word);

// "The file P is not an orbit file: line 2 reads "WORD", not PHASE." The word is
// shown escaped (platform/shown_text.h).
std::string wrong_kind(const std::string& path, std::string_view word, FileKind wanted);

}  // namespace kv
