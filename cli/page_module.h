// The Qt part of kestavor-cli print, kept in a module of its own (kestavor-print.so) that
// the command loads when it runs: the other commands then start without loading Qt.
#pragma once

#include <string>

#include "print/page_module.h"

// The entry `name` of the page module, loaded on first use (beside the program, or in the
// installed library folder); null with the reason in `why_not`.
void* load_page_module_entry(const char* name, std::string& why_not);
