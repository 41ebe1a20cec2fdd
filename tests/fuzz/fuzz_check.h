// The check every fuzz target makes of its properties: a broken property is a finding,
// told on stderr and ended with abort() so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace {
inline void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}
}  // namespace
