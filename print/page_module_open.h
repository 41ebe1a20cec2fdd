// Opening the page module kestavor-print.so from a face that loads it (POSIX dlopen): the
// first candidate that loads gives its entry. Included only by those faces' loaders.
#pragma once

#include <dlfcn.h>

#include <filesystem>
#include <initializer_list>
#include <string>

namespace kv {

// The entry `name` of the first of `candidates` that loads, or nullptr. When the first that
// loads lacks the entry, `why_not` says so; when none loads, `why_not` is empty and `tried`
// holds each candidate's loader message, for the face to put in its own words.
inline void* open_page_module(std::initializer_list<std::filesystem::path> candidates,
                              const char* name, std::string& tried, std::string& why_not) {
  for (const std::filesystem::path& candidate : candidates) {
    if (void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      if (void* entry = dlsym(module, name)) return entry;
      why_not = candidate.string() + " has no entry " + name;
      return nullptr;
    }
    const char* error = dlerror();
    tried += (tried.empty() ? "" : "; ") + std::string(error ? error : candidate.c_str());
  }
  return nullptr;
}

}  // namespace kv
