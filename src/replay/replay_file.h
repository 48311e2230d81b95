// A replay: one game as it was played, in a small text file that reads the same on every
// platform. It holds the game's state at its first pass (every field the rules read), what the
// game read during it that it does not compute itself (keys as they changed, key presses, losses
// of the focus, the clock) and a digest of the game's state every 60 passes and at the end.
//
//   swayfire-replay 1          the format and its version
//   game 1.0                   the game's version: its rules
//   mode survival              or "level"
//   level 1                    the start level
//   passes 2345                the game's passes, its first is pass 1
//   score 678                  the final score
//   start                      the state at the first pass, one line a part (see replay_file.cpp)
//   ...
//   events                     events in the order of their passes, blank-separated, any number a
//   ...                        line: "<passes since the last event, none for 0><what>": +K key K
//                              held, -K let go, *K pressed (IsKeyHit), ! focus lost, @X the clock
//                              set to the double of bits X (hexadecimal); K is u d l r (arrows),
//                              x (Escape), n (Enter), _ (Space), A W S D E H P R T, or a scan
//                              code 1..255
//   digests                    16 hexadecimal digits a line: the start, every 60th pass, the end
//   ...
//   end
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/game.h"
#include "core/rules.h"

inline constexpr const char* kReplayFormatName = "swayfire-replay";
inline constexpr int kReplayFormatVersion = 1;
// A digest of the game's state is kept after every this many passes.
inline constexpr int64_t kDigestInterval = 60;
// No replay is read beyond this size (a ten-minute game takes well under 64 KB).
inline constexpr size_t kMaxReplayBytes = 16u << 20;

// Every field of Game the rules read, as it stood at a game's first pass.
struct GameStart {
  uint64_t random = 0;
  float playerX = 0, playerY = 0, playerSpeed = 0, playerHealth = 0, playerFade = 0;
  int16_t enemiesLeft = 0;
  std::vector<Enemy> enemies;  // EnemyMax + 1 of them
  std::vector<Shot> shots;     // kShotCount of them
  bool bonusVisible = false, bonusTaken = false;
  float bonusFade = 0;
  int16_t bonusType = 0;
  float bonusX = 0, bonusY = 0;
  std::array<bool, kBonusTypeCount> bonusActive{};
  std::array<float, kBonusTypeCount> bonusTime{};
  int16_t score = 0;
  bool survival = false;
  int16_t level = 0, highestLevel = 0;
  bool paused = false;
  float animClock = 0, survivalClock = 0;
  bool lastLevelWon = false;
  int16_t menuSelection = 0, menuDelay = 0;
  float logoFade = 0;
  std::string exitCaption;
  float bestScore = 0;
  std::array<float, kMaxLevel + 1> levelBest{};
  bool newBestScore = false;
  std::array<bool, kMaxLevel + 1> newLevelBest{};
  float lastScore = 0;
};

struct ReplayEvent {
  enum class Kind : uint8_t { KeyDown, KeyUp, KeyHit, FocusLost, Clock };
  int64_t pass = 0;
  Kind kind = Kind::KeyDown;
  int16_t key = 0;   // KeyDown, KeyUp, KeyHit: the scan code, 1..255
  double clock = 0;  // Clock: the time of day the game reads from this pass on
};

struct Replay {
  std::string gameVersion;  // "major.minor"
  int64_t passes = 0;
  int score = 0;
  GameStart start;
  std::vector<ReplayEvent> events;  // in the order of their passes
  // The start, after each kDigestInterval-th pass, and after the last pass.
  std::vector<uint64_t> digests;
};

// How many digests a replay of this many passes holds.
size_t DigestCount(int64_t passes);

// A replay file that cannot be played: the line (0 for the file as a whole) and what is wrong.
class ReplayError : public std::runtime_error {
 public:
  ReplayError(int line, const std::string& what)
      : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + what : what),
        line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

std::string WriteReplay(const Replay& replay);
// Reads a replay written by this version of the game (`gameVersion`, "major.minor"); anything
// else is refused with a ReplayError.
Replay ReadReplay(const std::string& text, const std::string& gameVersion);
