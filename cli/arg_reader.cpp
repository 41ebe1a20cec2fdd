#include "cli/arg_reader.h"

#include <charconv>
#include <utility>

namespace kv::cli {

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

Count parse_count(const std::string& option, const std::string& text) {
  long long v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size())
    return {0, option + " needs a whole number, not \"" + text + "\""};
  return {v, {}};
}

}  // namespace kv::cli
