#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "shell/numbers.h"
#include "shell/shell.h"

std::string LevelKey(int level) {
  return "M2-" + std::to_string(level);
}

double ParseScore(const std::string& value) {
  const char* begin = value.c_str();
  while (*begin == ' ' || *begin == '\t') ++begin;
  if (*begin == '\0') return 0;
  char* end = nullptr;
  errno = 0;
  double number = std::strtod(begin, &end);
  while (*end == ' ' || *end == '\t') ++end;
  // Only plain decimal numbers count: no hexadecimal, infinities or trailing garbage.
  if (*end != '\0' || errno == ERANGE || !std::isfinite(number)) return 0;
  for (const char* p = begin; p < end; ++p) {
    if (*p == 'x' || *p == 'X' || *p == 'n' || *p == 'N' || *p == 'i' || *p == 'I') return 0;
  }
  return number;
}

int16_t ParsePassed(const std::string& value) {
  double number = std::floor(ParseScore(value));
  if (number < 1) return 1;
  if (number > kMaxLevel) return kMaxLevel;
  return static_cast<int16_t>(number);
}

int16_t NextHighestLevel(int16_t highestLevel) {
  return highestLevel >= kMaxLevel ? static_cast<int16_t>(kMaxLevel)
                                   : static_cast<int16_t>(highestLevel + 1);
}

void ReadScores(Game& game) {
  Utility& utility = game.utility;
  std::string best = utility.ReadIni("SCORE", "M1", kScoreFile, 0);
  if (best.empty()) {
    utility.WriteIni("SCORE", "M1", "0", kScoreFile, 0);
    best = utility.ReadIni("SCORE", "M1", kScoreFile, 0);
  }
  game.BestScore = static_cast<float>(ParseScore(best));

  for (int level = 1; level <= 50; ++level) {
    std::string value = utility.ReadIni("SCORE", LevelKey(level), kScoreFile, 0);
    if (value.empty()) {
      value = "0";
      utility.WriteIni("SCORE", LevelKey(level), "0", kScoreFile, 0);
    }
    game.LevelBestScores[level] = static_cast<float>(std::floor(ParseScore(value)));
  }
  // Records of start levels 51 to 100 are read back too, so they are not lost and then overwritten
  // by worse scores; no defaults are written for them.
  for (int level = 51; level <= kMaxLevel; ++level) {
    std::string value = utility.ReadIni("SCORE", LevelKey(level), kScoreFile, 0);
    game.LevelBestScores[level] = static_cast<float>(std::floor(ParseScore(value)));
  }
}
