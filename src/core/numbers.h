// Number rules shared by every part of the game.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

// The nearest whole number, halves to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2).
inline float Nearest(float value) {
  return std::nearbyint(value);
}
inline double Nearest(double value) {
  return std::nearbyint(value);
}

// Whole numbers as 16-bit values: out-of-range values saturate instead of wrapping.
int16_t ToInt16(double value);
// The nearest 16-bit whole number (halves to even), saturating.
inline int16_t NearestInt16(double value) {
  return ToInt16(std::nearbyint(value));
}
// Rounded down to a 16-bit whole number, saturating.
inline int16_t FloorInt16(double value) {
  return ToInt16(std::floor(value));
}

// A single-precision value in its shortest decimal form with at most seven significant digits,
// no leading space, whole values without a decimal point: 111, 87.5, 0.1, -7.
std::string FormatSingle(float value);

// A score padded to at least five digits with leading zeros: 0 -> "00000", 350 -> "00350",
// -5 -> "-00005".
std::string ScoreText(double value);
