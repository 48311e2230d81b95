#include "engine/web/web_platform.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#ifndef SWAYFIRE_VERSION_MAJOR
#error "SWAYFIRE_VERSION_MAJOR comes from the project version in CMakeLists.txt"
#endif

void WebPlatform::UnloadWindow() {
  if (unloaded_) return;
  int16_t cancel = 0;
  if (closeHandler_) closeHandler_(cancel);
  if (cancel == 0) unloaded_ = true;
}

uint32_t WebPlatform::GetTickCount() {
  return static_cast<uint32_t>(static_cast<uint64_t>(WebPage::Now()));
}

double WebPlatform::TimeOfDay() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const double fraction =
      std::chrono::duration<double>(now - std::chrono::system_clock::from_time_t(seconds)).count();
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
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
