#include "cli/cli_registry.h"

#include <charconv>
#include <iostream>
#include <stdexcept>

namespace kv::cli {

std::vector<Command>& registry() {
  static std::vector<Command> commands;
  return commands;
}

bool ArgReader::next() {
  if (has_inline_value_) throw std::invalid_argument(arg_ + " takes no value");
  if (++i_ >= args_.size()) return false;
  const std::string& a = args_[i_];
  const std::size_t eq = a.find('=');
  has_inline_value_ = a.rfind("--", 0) == 0 && eq != std::string::npos;
  if (has_inline_value_) {
    arg_ = a.substr(0, eq);
    inline_value_ = a.substr(eq + 1);
  } else {
    arg_ = a;
  }
  return true;
}

const std::string& ArgReader::value() {
  if (has_inline_value_) {
    has_inline_value_ = false;
    return inline_value_;
  }
  if (i_ + 1 >= args_.size()) throw std::invalid_argument(arg_ + " needs a value");
  return args_[++i_];
}

bool take_save_count(ArgReader& args, SaveCount& save) {
  const std::string& a = args.arg();
  if (a != "--orbit" && a != "--poincare") return false;
  if (!save.option.empty()) throw std::invalid_argument("give only one of --orbit and --poincare");
  save.option = a;
  save.count = args.value();
  return true;
}

long long recording_count(const SaveCount& save) {
  const long long n = parse_count(save.option, save.count);
  if (n < 0) throw std::invalid_argument("the number of points must not be negative");
  if (save.orbit() && n > 1000000)
    throw std::invalid_argument("an orbit recording holds at most 1000000 points");
  if (n > 2147483647) throw std::invalid_argument("the number of points is too large");
  return n;
}

long long parse_count(const std::string& option, const std::string& text) {
  long long v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size())
    throw std::invalid_argument(option + " needs a whole number, not \"" + text + "\"");
  return v;
}

int fail(const std::string& message) {
  std::cerr << "kestavor-cli: " << message << "\n";
  return 2;
}

}  // namespace kv::cli
