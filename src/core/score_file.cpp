#include "core/score_file.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "core/numbers.h"

std::string LevelKey(int level) {
  return "M2-" + std::to_string(level);
}

namespace {

// A value as a message shows it: short, without control characters.
std::string Shown(const std::string& value) {
  std::string shown = value.size() > 40 ? value.substr(0, 40) + "..." : value;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return shown;
}

// The number in a score-file value: plain decimal only, no hexadecimal, infinities or trailing
// garbage; blanks around it do not count. Nothing when the value is not such a number.
std::optional<double> DecimalNumber(const std::string& value) {
  const char* begin = value.c_str();
  while (*begin == ' ' || *begin == '\t') ++begin;
  if (*begin == '\0') return std::nullopt;
  char* end = nullptr;
  errno = 0;
  double number = std::strtod(begin, &end);
  while (*end == ' ' || *end == '\t') ++end;
  if (end != value.c_str() + value.size() || errno == ERANGE || !std::isfinite(number)) {
    return std::nullopt;
  }
  for (const char* p = begin; p < end; ++p) {
    if (*p == 'x' || *p == 'X' || *p == 'n' || *p == 'N' || *p == 'i' || *p == 'I') {
      return std::nullopt;
    }
  }
  return number;
}

}  // namespace

std::optional<double> ScoreValue(const std::string& value) {
  std::optional<double> number = DecimalNumber(value);
  // The game writes 16-bit scores; anything far beyond them is not one of its records (and would
  // not even fit in the single-precision variables that hold them).
  if (!number || *number < -32768.0 || *number > 32767.0) return std::nullopt;
  return number;
}

double ParseScore(const std::string& value) {
  return ScoreValue(value).value_or(0.0);
}

int16_t ParsePassed(const std::string& value) {
  // A 16-bit conversion: the nearest whole number, halves to even.
  double number = Nearest(DecimalNumber(value).value_or(1.0));
  if (number < 1) return 1;
  if (number > kMaxLevel) return kMaxLevel;
  return static_cast<int16_t>(number);
}

int16_t ReadHighestLevel(Game& game) {
  std::string value = game.utility.ReadIni("LEVEL", "PASSED", kScoreFile, 0);
  int16_t level = ParsePassed(value);
  std::optional<double> number = DecimalNumber(value);
  if (!value.empty() && (!number || Nearest(*number) < 1 || Nearest(*number) > kMaxLevel)) {
    std::cerr << "swayfire: warning: the score file holds \"" << Shown(value)
              << "\" under [LEVEL] PASSED, which is not a level from 1 to " << kMaxLevel
              << "; it counts as " << level << "\n";
  }
  return level;
}

int16_t NextHighestLevel(int16_t highestLevel) {
  return highestLevel >= kMaxLevel ? static_cast<int16_t>(kMaxLevel)
                                   : static_cast<int16_t>(highestLevel + 1);
}

namespace {

// A stored record that is not a score counts as 0; the file keeps it until a better score
// replaces it, and the player is told.
double StoredScore(const std::string& key, const std::string& value) {
  std::optional<double> score = ScoreValue(value);
  if (!score && !value.empty()) {
    std::cerr << "swayfire: warning: the score file holds \"" << Shown(value) << "\" under [SCORE] "
              << key << ", which is not a score; it counts as 0\n";
  }
  return score.value_or(0.0);
}

// A missing record starts at 0; one another copy of the game wrote meanwhile stays.
bool IsThere(const std::string& stored) {
  return !stored.empty();
}

}  // namespace

void ReadScores(Game& game) {
  Utility& utility = game.utility;
  std::string best = utility.ReadIni("SCORE", "M1", kScoreFile, 0);
  if (best.empty()) {
    utility.WriteIniUnless("SCORE", "M1", "0", kScoreFile, IsThere);
    best = utility.ReadIni("SCORE", "M1", kScoreFile, 0);
  }
  game.BestScore = static_cast<float>(StoredScore("M1", best));

  for (int level = 1; level <= 50; ++level) {
    std::string value = utility.ReadIni("SCORE", LevelKey(level), kScoreFile, 0);
    if (value.empty()) {
      value = "0";
      utility.WriteIniUnless("SCORE", LevelKey(level), "0", kScoreFile, IsThere);
    }
    game.LevelBestScores[level] =
        static_cast<float>(std::floor(StoredScore(LevelKey(level), value)));
  }
  // Records of start levels 51 to 100 are read back too, so they are not lost and then overwritten
  // by worse scores; no defaults are written for them.
  for (int level = 51; level <= kMaxLevel; ++level) {
    std::string value = utility.ReadIni("SCORE", LevelKey(level), kScoreFile, 0);
    game.LevelBestScores[level] =
        static_cast<float>(std::floor(StoredScore(LevelKey(level), value)));
  }
}

namespace {

// Another copy of the game may share the score file: a record only rises, so a better score it
// saved meanwhile stays (the file's value is looked at under the writers' lock).
void WriteRecord(Game& game, const std::string& key, int16_t score, bool floored) {
  game.utility.WriteIniUnless("SCORE", key, std::to_string(score), kScoreFile,
                              [&](const std::string& stored) {
                                std::optional<double> better = ScoreValue(stored);
                                return better && (floored ? std::floor(*better) : *better) >= score;
                              });
}

}  // namespace

void WriteBestScore(Game& game, int16_t score) {
  game.BestScore = score;
  game.NewBestScore = true;
  WriteRecord(game, "M1", score, false);
}

void WriteLevelBest(Game& game, int level, int16_t score) {
  game.LevelBestScores[level] = score;
  game.NewLevelBest[level] = true;
  WriteRecord(game, LevelKey(level), score, true);
}

void WritePassedLevel(Game& game) {
  const int16_t level = game.HighestLevel;
  game.utility.WriteIniUnless(
      "LEVEL", "PASSED", std::to_string(level), kScoreFile,
      [&](const std::string& stored) { return !stored.empty() && ParsePassed(stored) >= level; });
}

void ResetBestScore(Game& game) {
  game.utility.WriteIni("SCORE", "M1", "0", kScoreFile, 0);
  game.BestScore = 0;
}

void ResetLevelBest(Game& game, int level) {
  game.utility.WriteIni("SCORE", LevelKey(level), "0", kScoreFile, 0);
  game.LevelBestScores[level] = 0;
}
