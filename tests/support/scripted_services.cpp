#include "tests/support/scripted_services.h"

namespace kv {

namespace {
template <typename T>
T take(std::deque<T>& q, T fallback) {
  if (q.empty()) return fallback;
  T v = q.front();
  q.pop_front();
  return v;
}
}  // namespace

void ScriptedDialogs::message(const std::string& text, const std::string& title, MsgIcon) {
  shown.push_back({"message", text, title});
}

bool ScriptedDialogs::ask_yes_no(const std::string& text, const std::string& title, MsgIcon) {
  shown.push_back({"yesno", text, title});
  return take(yes_no_answers, false);
}

std::string ScriptedDialogs::input_box(const std::string& prompt, const std::string& title,
                                       const std::string& default_text) {
  shown.push_back({"input", prompt + "|" + default_text, title});
  return take(input_answers, std::string());
}

std::string ScriptedDialogs::open_file(const std::string& filter, const std::string& initial_dir,
                                       const std::string&) {
  shown.push_back({"open", filter, initial_dir});
  return take(open_answers, std::string());
}

std::string ScriptedDialogs::save_file(const std::string& filter, const std::string&,
                                       const std::string& initial_dir, const std::string&) {
  shown.push_back({"save", filter, initial_dir});
  return take(save_answers, std::string());
}

int ScriptedDialogs::count(const std::string& kind) const {
  int n = 0;
  for (const auto& s : shown) n += s.kind == kind;
  return n;
}

DesignPoint ScriptedPointer::cursor_pos() {
  if (on_query) on_query(*this, queries_);
  ++queries_;
  return pos;
}

std::int16_t ScriptedPointer::async_left_button() {
  if (!down_) {
    bool was = fresh_;
    fresh_ = false;
    return was ? 1 : 0;
  }
  if (fresh_) {
    fresh_ = false;
    return static_cast<std::int16_t>(-32767);
  }
  return static_cast<std::int16_t>(-32768);
}

bool ScriptedPointer::take_escape() {
  bool e = escape;
  escape = false;
  return e;
}

}  // namespace kv
