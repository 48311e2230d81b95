// libFuzzer target for the DDS reader: any input must decode or be refused, never crash, leak or
// read outside its buffer. Build with -DSWAYFIRE_FUZZ=ON and clang (make fuzz).
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/dds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DdsImage image;
  std::string error;
  if (DecodeDds(data, size, image, error)) {
    if (image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) __builtin_trap();
  } else if (error.empty()) {
    __builtin_trap();
  }
  return 0;
}
