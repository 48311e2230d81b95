#include "core/numbers.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

int16_t ToInt16(double value) {
  if (std::isnan(value)) return 0;
  if (value >= std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (value <= std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(value);
}

std::string FormatSingle(float value) {
  if (value == 0.0f) return "0";
  // Whole values below ten million (what the screen shows nearly always) are their digits.
  if (std::fabs(value) < 1e7f && value == std::trunc(value)) {
    return std::to_string(static_cast<int32_t>(value));
  }
  char buffer[64];
  for (int digits = 1; digits <= 7; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(buffer, nullptr) == value) break;
  }
  std::string text = buffer;
  // %g switches to exponent form for large or tiny values; write those out in full.
  if (text.find('e') != std::string::npos) {
    std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(value));
    double reread = std::strtod(buffer, nullptr);
    std::snprintf(buffer, sizeof buffer, "%.10f", reread);
    text = buffer;
    if (text.find('.') != std::string::npos) {
      while (text.back() == '0') text.pop_back();
      if (text.back() == '.') text.pop_back();
    }
  }
  return text;
}

std::string ScoreText(double value) {
  // Five digits after the sign: printf would count the sign among them.
  const double whole = std::nearbyint(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%05.0f", std::fabs(whole));
  return whole < 0 ? "-" + std::string(buffer) : std::string(buffer);
}
