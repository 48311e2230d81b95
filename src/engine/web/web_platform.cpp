#include "engine/web/web_platform.h"

#include <cstdio>

#include "engine/common/local_time.h"

#ifndef SWAYFIRE_VERSION_MAJOR
#error "SWAYFIRE_VERSION_MAJOR comes from the project version in CMakeLists.txt"
#endif

void WebPlatform::UnloadWindow() {
  close_.Request();
}

uint32_t WebPlatform::GetTickCount() {
  return static_cast<uint32_t>(static_cast<uint64_t>(WebPage::Now()));
}

double WebPlatform::TimeOfDay() {
  return ::TimeOfDay();
}

void WebPlatform::ReportFatal(const std::string& message) {
  std::fprintf(stderr, "swayfire: error: %s\n", message.c_str());
  WebPage::Fatal(message);
}

int WebPlatform::VersionMajor() {
  return SWAYFIRE_VERSION_MAJOR;
}

int WebPlatform::VersionMinor() {
  return SWAYFIRE_VERSION_MINOR;
}
