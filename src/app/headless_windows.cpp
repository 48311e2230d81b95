// swayfire-headless on Windows: standard output and error in binary mode, so a trace or message
// written there has the same bytes as on Linux (text mode would add a CR before every LF).
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

const bool kBinaryOutput = [] {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return true;
}();

}  // namespace
