// Loads an entry of the page module kestavor-print.so: beside the program (the build
// folder), else in the installed library folder.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

#include "cli/page_module.h"

void* load_page_module_entry(const char* name, std::string& why_not) {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  const std::filesystem::path dir =
      n > 0 ? std::filesystem::path(std::string(self, static_cast<std::size_t>(n))).parent_path()
            : std::filesystem::path(".");
  std::string tried;
  for (const std::filesystem::path& candidate :
       {dir / kPageModuleName, dir / KV_PAGE_MODULE_FROM_BIN / kPageModuleName}) {
    if (void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      if (void* entry = dlsym(module, name)) return entry;
      why_not = candidate.string() + " has no entry " + name;
      return nullptr;
    }
    const char* error = dlerror();
    tried += (tried.empty() ? "" : "; ") + std::string(error ? error : candidate.c_str());
  }
  why_not = "the page module cannot be loaded (" + tried + ")";
  return nullptr;
}
