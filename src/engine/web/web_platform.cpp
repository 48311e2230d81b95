#include "engine/web/web_platform.h"

#include <cstdio>

#include "engine/common/local_time.h"
#include "io/ini_utility.h"

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

void WebPlatform::ShowWarning(const std::string& title, const std::string& text) {
  // The page has one line: the text up to its first blank line, on one line.
  std::string line = text.substr(0, text.find("\n\n"));
  for (char& c : line) {
    if (c == '\n') c = ' ';
  }
  if (title == kScoresNotSavedTitle) {
    if (!line.empty() && line.back() == '.') line.pop_back();
    WebPage::StorageFailed(line);
  } else {
    WebPage::Notice(title, line);
  }
}

int WebPlatform::VersionMajor() {
  return SWAYFIRE_VERSION_MAJOR;
}

int WebPlatform::VersionMinor() {
  return SWAYFIRE_VERSION_MINOR;
}
