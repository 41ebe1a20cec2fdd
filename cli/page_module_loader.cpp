// Loads an entry of the page module kestavor-print.so: beside the program (the build
// folder), else in the installed library folder.
#include <unistd.h>

#include <climits>
#include <filesystem>

#include "cli/page_module.h"
#include "print/page_module_open.h"

void* load_page_module_entry(const char* name, std::string& why_not) {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  const std::filesystem::path dir =
      n > 0 ? std::filesystem::path(std::string(self, static_cast<std::size_t>(n))).parent_path()
            : std::filesystem::path(".");
  std::string tried;
  if (void* entry = kv::open_page_module(
          {dir / kPageModuleName, dir / KV_PAGE_MODULE_FROM_BIN / kPageModuleName}, name, tried,
          why_not))
    return entry;
  if (!why_not.empty()) return nullptr;
  why_not = "the page module cannot be loaded (" + tried + ")";
  return nullptr;
}
