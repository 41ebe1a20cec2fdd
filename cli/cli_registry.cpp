#include "cli/cli_registry.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <utility>

#include "simulation/sim_panel.h"

namespace kv::cli {

namespace {
// The options of a choice of which exactly one is given are declared in a group of this
// name; usage shows them as "(A | B)".
const std::string kGiveOne = "Give one of";
// An option's value as usage shows it: its type name, a short list of allowed values as
// "A|B|C" ("WINDOW:{Parzen,Hanning}" in the help, which always shows the list).
std::string type_of(const CLI::Option& o) {
  std::string type = o.get_type_name();
  const std::size_t list = type.find(":{");
  if (list == std::string::npos || type.back() != '}') return type;
  std::string values = type.substr(list + 2, type.size() - list - 3);
  if (values.size() > 32) return type.substr(0, list);
  std::replace(values.begin(), values.end(), ',', '|');
  return values;
}

}  // namespace

std::vector<Command>& registry() {
  static std::vector<Command> commands;
  return commands;
}

std::string parse_error_text(const CLI::ParseError& e) {
  const std::string text = e.what();
  const std::string flag_override = " was given a disallowed flag override";
  if (const auto at = text.find(flag_override);
      at != std::string::npos && at + flag_override.size() == text.size()) {
    std::string name = text.substr(0, at);
    if (name.rfind('-', 0) != 0) name = "--" + name;
    return name + " takes no value";
  }
  return text;
}

std::string usage_of(const CLI::App& command) {
  std::string usage;
  bool in_choice = false;
  for (const CLI::Option* o : command.get_options()) {
    if (o == command.get_help_ptr()) continue;
    std::string item = o->nonpositional() ? o->get_name(false, false) : type_of(*o);
    if (o->nonpositional() && !type_of(*o).empty()) item += " " + type_of(*o);
    if (o->get_group() == kGiveOne) {
      usage += in_choice ? " | " : " (";
      usage += item;
      in_choice = true;
      continue;
    }
    if (in_choice) usage += ")";
    in_choice = false;
    usage += " " + (o->get_required() ? item : "[" + item + "]");
  }
  if (in_choice) usage += ")";
  return usage.empty() ? usage : usage.substr(1);
}

void Options::file(std::string& path, const std::string& type, const std::string& help) {
  app_.add_option(type, path, help)->required()->type_name(type);
}

void Options::text(const std::string& name, std::string& value, const std::string& type,
                   const std::string& help, bool required) {
  app_.add_option(name, value, help)->type_name(type)->required(required);
}

void Options::number_text(const std::string& name, std::string& text, const std::string& help) {
  app_.add_option(name, text, help)->check(CLI::Number.description(""))->type_name("NUMBER");
}

void Options::panel_box(const PanelBox& box, std::string& text) {
  std::string caption(box.caption), unit(box.unit);
  if (!caption.empty() && caption.back() == '=') caption.pop_back();
  unit.erase(0, unit.find_first_not_of(' '));
  number_text(std::string(box.option), text,
              caption + " in " + unit + " (default " + std::string(box.start_text) + ")");
}

void Options::count(const std::string& name, std::int64_t& value, const std::string& type,
                    std::int64_t least, std::int64_t most, const std::string& help) {
  app_.add_option(name, value, help)
      ->check(CLI::Range(least, most).description(""))
      ->type_name(type);
}

void Options::one_of(const std::string& name, std::string& value, const std::string& type,
                     const std::vector<std::string>& values, const std::string& help,
                     bool required) {
  app_.add_option(name, value, help)
      ->check(CLI::IsMember(values, CLI::ignore_case))
      ->type_name(type)
      ->required(required);
}

void Options::one_of(const std::string& name, int& value, const std::string& type,
                     const std::vector<int>& values, const std::string& help) {
  app_.add_option(name, value, help)->check(CLI::IsMember(values))->type_name(type);
}

void Options::flag(const std::string& name, bool& value, const std::string& help) {
  app_.add_flag(name, value, help)->disable_flag_override();
}

void Options::output(std::string& path, const std::string& type) {
  app_.add_option("-o", path, "the file to write")->required()->type_name(type);
}

void Options::save_count(SaveCount& save, std::int64_t most_orbit_points,
                         std::int64_t most_poincare_points) {
  for (const bool orbit : {true, false})
    app_.add_option_function<std::int64_t>(
            orbit ? "--orbit" : "--poincare",
            [&save, orbit](std::int64_t n) {
              save.orbit = orbit;
              save.points = n;
            },
            orbit ? "save N orbit points" : "save N Poincare points")
        ->check(CLI::Range(std::int64_t{1}, orbit ? most_orbit_points : most_poincare_points)
                    .description(""))
        ->type_name("N")
        ->group(kGiveOne);
  exclusive("--orbit", "--poincare");
  app_.callback([&save] {
    if (save.points == 0) throw CLI::RequiredError("--orbit N or --poincare N");
  });
}

void Options::exclusive(const std::string& a, const std::string& b) {
  app_.get_option(a)->excludes(app_.get_option(b));
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

int usage_error(const std::string& message) {
  std::cerr << "kestavor-cli: " << message << "\n";
  return 2;
}

int failed(const std::string& message) {
  std::cerr << "kestavor-cli: " << message << "\n";
  return 1;
}

}  // namespace kv::cli
