#include "engine/common/local_time.h"

#include <chrono>
#include <cstdio>
#include <ctime>

double TimeOfDay() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const double fraction =
      std::chrono::duration<double>(now - std::chrono::system_clock::from_time_t(seconds)).count();
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

std::string ScreenshotName() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char name[64];
  std::snprintf(name, sizeof name, "swayfire-%04d%02d%02d-%02d%02d%02d-%03d.png",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, static_cast<int>(ms));
  return name;
}
