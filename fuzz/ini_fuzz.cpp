// libFuzzer target for the INI reader and writer behind the options and score files: any file text
// and any store must keep the properties listed in ini_checks.h.
#include <cstdio>
#include <cstdlib>

#include "ini_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem = fuzzcheck::CheckIniRoundTrip(fuzzcheck::SplitIniInput(data, size));
  if (!problem.empty()) {
    std::fprintf(stderr, "ini_fuzz: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
