#include "replay/version.h"

std::string ReplayGameVersion() {
  return std::to_string(SWAYFIRE_VERSION_MAJOR) + "." + std::to_string(SWAYFIRE_VERSION_MINOR);
}
