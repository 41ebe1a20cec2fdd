#include "cli/cli_registry.h"

#include <charconv>
#include <iostream>
#include <utility>

namespace kv::cli {

std::vector<Command>& registry() {
  static std::vector<Command> commands;
  return commands;
}

bool ArgReader::next() {
  if (has_inline_value_) refuse(arg_ + " takes no value");
  if (failed() || ++i_ >= args_.size()) return false;
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
  static const std::string kNone;
  if (has_inline_value_) {
    has_inline_value_ = false;
    return inline_value_;
  }
  if (i_ + 1 >= args_.size()) {
    refuse(arg_ + " needs a value");
    return kNone;
  }
  return args_[++i_];
}

void ArgReader::refuse(std::string message) {
  if (error_.empty()) error_ = std::move(message);
  has_inline_value_ = false;
  i_ = args_.size();
}

bool take_save_count(ArgReader& args, SaveCount& save) {
  const std::string& a = args.arg();
  if (a != "--orbit" && a != "--poincare") return false;
  if (!save.option.empty()) {
    args.refuse("give only one of --orbit and --poincare");
    return true;
  }
  save.option = a;
  save.count = args.value();
  return true;
}

Count recording_count(const SaveCount& save) {
  Count n = parse_count(save.option, save.count);
  if (!n.error.empty()) return n;
  if (n.value < 0) return {0, "the number of points must not be negative"};
  if (save.orbit() && n.value > 1000000)
    return {0, "an orbit recording holds at most 1000000 points"};
  if (n.value > 2147483647) return {0, "the number of points is too large"};
  return n;
}

Count parse_count(const std::string& option, const std::string& text) {
  long long v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size())
    return {0, option + " needs a whole number, not \"" + text + "\""};
  return {v, {}};
}

int exit_status(const Outcome& outcome, int signal) {
  switch (outcome.status) {
    case Status::done:
      return 0;
    case Status::halted:
      return signal != 0 ? 128 + signal : 1;
    case Status::refused:
    case Status::failed:
      break;
  }
  return 1;
}

int fail(const std::string& message) {
  std::cerr << "kestavor-cli: " << message << "\n";
  return 2;
}

}  // namespace kv::cli
