// libFuzzer target for replay files: any text is read or refused with a line number, never
// crashes, and what is read writes out and reads back as the same text.
#include <cstdio>
#include <cstdlib>

#include "replay_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string problem = fuzzcheck::CheckReplay(text);
  if (!problem.empty()) {
    std::fprintf(stderr, "replay_fuzz: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
