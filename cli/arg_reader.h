// The argument reader of the sweep's options, which kestavor-mpi shares with kestavor-cli.
#pragma once

#include <string>
#include <vector>

namespace kv::cli {

// Walks a list of arguments (the sweep's, which kestavor-mpi reads too): next() gives each in
// turn, value() the value of the option just taken, either written into it
// ("--option=value") or the argument after it ("--option value"). A usage error ("OPTION
// needs a value" when there is none, "OPTION takes no value" when an option that takes
// none was given one with "=") is kept in error(): value() then gives an empty text and
// next() ends the walk, so a command checks failed() right after its loop (and before
// reading a value it parses).
class ArgReader {
 public:
  explicit ArgReader(const std::vector<std::string>& args) : args_(args) {}
  bool next();
  // The argument, or for "--option=value" the option's name.
  const std::string& arg() const { return arg_; }
  const std::string& value();
  // Notes a usage error (the first one stays) and ends the walk.
  void refuse(std::string message);
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  const std::vector<std::string>& args_;
  std::size_t i_ = static_cast<std::size_t>(-1);
  std::string arg_, inline_value_, error_;
  bool has_inline_value_ = false;
};

// A whole number read from the arguments, or the usage error that stands in its place.
struct Count {
  long long value = 0;
  std::string error;  // empty when `value` was read
};

// `text` as a whole number, or a readable usage error naming `option`.
Count parse_count(const std::string& option, const std::string& text);

}  // namespace kv::cli
