#include "replay/replay_file.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

// The start section, one line each, in this order; the lines marked "some" name only the entries
// that differ from a fresh one, by index, in rising order:
//   random R                           the generator's state, 16 hexadecimal digits
//   player X Y Speed Health Fade
//   enemies COUNT LEFT                 the enemy table's size (EnemyMax + 1) and EnemiesLeft
//   enemy I X Y Speed TargetX TargetY Health Fade RespawnDelay FLAGS     (some)
//                                      FLAGS: 1 Ally, 2 Infected, 4 InfectedByOther
//   shot I Active X Y SpeedX SpeedY Hostile Owner                         (some)
//   bonus Visible Taken Fade Type X Y
//   bonustime I Active Time                                               (some)
//   progress Score Survival Level HighestLevel Paused AnimClock SurvivalClock LastLevelWon
//   menu MenuSelection MenuDelay LogoFade BestScore NewBestScore LastScore
//   caption TEXT                       ExitCaption, to the end of the line
//   record LEVEL SCORE                 LevelBestScores (some)
//   newrecord LEVEL                    NewLevelBest (some)
// A float is written as the hexadecimal digits of its bits, so it reads back exactly everywhere;
// a truth value as 0 or 1.

namespace {

constexpr float kLargestCoordinate = 1e7f;

std::string Hex(uint64_t bits) {
  char text[24];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(bits));
  return text;
}

uint32_t FloatBits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

uint64_t DoubleBits(double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

std::string F(float value) {
  return Hex(FloatBits(value));
}

// --- Writing -------------------------------------------------------------------------------------

class Writer {
 public:
  Writer& operator<<(const std::string& text) {
    out_ += text;
    return *this;
  }
  Writer& operator<<(const char* text) {
    out_ += text;
    return *this;
  }
  Writer& operator<<(int64_t number) {
    out_ += std::to_string(number);
    return *this;
  }
  Writer& operator<<(float value) {
    out_ += F(value);
    return *this;
  }
  Writer& operator<<(bool value) {
    out_ += value ? '1' : '0';
    return *this;
  }
  std::string& text() { return out_; }

 private:
  std::string out_;
};

int Flags(const Enemy& enemy) {
  return (enemy.Ally ? 1 : 0) | (enemy.Infected ? 2 : 0) | (enemy.InfectedByOther ? 4 : 0);
}

bool Same(float a, float b) {
  return FloatBits(a) == FloatBits(b);
}

bool IsFresh(const Enemy& e) {
  const Enemy f{};
  return Same(e.X, f.X) && Same(e.Y, f.Y) && Same(e.Speed, f.Speed) && Same(e.TargetX, f.TargetX) &&
         Same(e.TargetY, f.TargetY) && Same(e.Health, f.Health) && Same(e.Fade, f.Fade) &&
         Same(e.RespawnDelay, f.RespawnDelay) && Flags(e) == 0;
}

bool IsFresh(const Shot& s) {
  const Shot f{};
  return !s.Active && Same(s.X, f.X) && Same(s.Y, f.Y) && Same(s.SpeedX, f.SpeedX) &&
         Same(s.SpeedY, f.SpeedY) && Same(s.Hostile, f.Hostile) && Same(s.Owner, f.Owner);
}

void WriteStart(Writer& w, const GameStart& s) {
  w << "random " << Hex(s.random) << "\n";
  w << "player " << s.playerX << " " << s.playerY << " " << s.playerSpeed << " " << s.playerHealth
    << " " << s.playerFade << "\n";
  w << "enemies " << static_cast<int64_t>(s.enemies.size()) << " "
    << static_cast<int64_t>(s.enemiesLeft) << "\n";
  for (size_t i = 0; i < s.enemies.size(); ++i) {
    const Enemy& e = s.enemies[i];
    if (IsFresh(e)) continue;
    w << "enemy " << static_cast<int64_t>(i) << " " << e.X << " " << e.Y << " " << e.Speed << " "
      << e.TargetX << " " << e.TargetY << " " << e.Health << " " << e.Fade << " " << e.RespawnDelay
      << " " << static_cast<int64_t>(Flags(e)) << "\n";
  }
  for (size_t i = 0; i < s.shots.size(); ++i) {
    const Shot& t = s.shots[i];
    if (IsFresh(t)) continue;
    w << "shot " << static_cast<int64_t>(i) << " " << t.Active << " " << t.X << " " << t.Y << " "
      << t.SpeedX << " " << t.SpeedY << " " << t.Hostile << " " << t.Owner << "\n";
  }
  w << "bonus " << s.bonusVisible << " " << s.bonusTaken << " " << s.bonusFade << " "
    << static_cast<int64_t>(s.bonusType) << " " << s.bonusX << " " << s.bonusY << "\n";
  for (int i = 0; i < kBonusTypeCount; ++i) {
    if (!s.bonusActive[i] && FloatBits(s.bonusTime[i]) == 0) continue;
    w << "bonustime " << static_cast<int64_t>(i) << " " << s.bonusActive[i] << " " << s.bonusTime[i]
      << "\n";
  }
  w << "progress " << static_cast<int64_t>(s.score) << " " << s.survival << " "
    << static_cast<int64_t>(s.level) << " " << static_cast<int64_t>(s.highestLevel) << " "
    << s.paused << " " << s.animClock << " " << s.survivalClock << " " << s.lastLevelWon << "\n";
  w << "menu " << static_cast<int64_t>(s.menuSelection) << " " << static_cast<int64_t>(s.menuDelay)
    << " " << s.logoFade << " " << s.bestScore << " " << s.newBestScore << " " << s.lastScore
    << "\n";
  w << "caption " << s.exitCaption << "\n";
  for (int level = 0; level <= kMaxLevel; ++level) {
    if (FloatBits(s.levelBest[level]) == 0) continue;
    w << "record " << static_cast<int64_t>(level) << " " << s.levelBest[level] << "\n";
  }
  for (int level = 0; level <= kMaxLevel; ++level) {
    if (s.newLevelBest[level]) w << "newrecord " << static_cast<int64_t>(level) << "\n";
  }
}

// The game's own keys go by one character, any other key by its scan code.
struct KeyName {
  int16_t key;
  char name;
};
constexpr KeyName kKeyNames[] = {
    {Key::Up, 'u'},     {Key::Down, 'd'},  {Key::Left, 'l'},  {Key::Right, 'r'},
    {Key::Escape, 'x'}, {Key::Enter, 'n'}, {Key::Space, '_'}, {Key::A, 'A'},
    {Key::W, 'W'},      {Key::S, 'S'},     {Key::D, 'D'},     {Key::E, 'E'},
    {Key::H, 'H'},      {Key::P, 'P'},     {Key::R, 'R'},     {Key::T, 'T'}};

std::string KeyText(int16_t key) {
  for (const KeyName& name : kKeyNames) {
    if (name.key == key) return std::string(1, name.name);
  }
  return std::to_string(key);
}

constexpr size_t kEventLineWidth = 100;

void WriteEvents(Writer& w, const std::vector<ReplayEvent>& events) {
  int64_t lastPass = 0;
  size_t width = 0;
  for (const ReplayEvent& event : events) {
    std::string token = event.pass > lastPass ? std::to_string(event.pass - lastPass) : "";
    lastPass = event.pass;
    switch (event.kind) {
      case ReplayEvent::Kind::KeyDown:
        token += "+" + KeyText(event.key);
        break;
      case ReplayEvent::Kind::KeyUp:
        token += "-" + KeyText(event.key);
        break;
      case ReplayEvent::Kind::KeyHit:
        token += "*" + KeyText(event.key);
        break;
      case ReplayEvent::Kind::FocusLost:
        token += "!";
        break;
      case ReplayEvent::Kind::Clock:
        token += "@" + Hex(DoubleBits(event.clock));
        break;
    }
    if (width > 0 && width + 1 + token.size() > kEventLineWidth) {
      w << "\n";
      width = 0;
    }
    if (width > 0) {
      w << " ";
      ++width;
    }
    w << token;
    width += token.size();
  }
  if (width > 0) w << "\n";
}

// --- Reading -------------------------------------------------------------------------------------

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  int line() const { return line_; }

  // The next line, without its end; LF or CR LF end a line.
  std::string Next() {
    if (AtEnd()) throw ReplayError(line_ + 1, "the file ends too early (it is cut short)");
    size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    std::string line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++line_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    for (unsigned char c : line) {
      if (c < 0x20 || c == 0x7f) Fail("holds a control character; this is not a replay's text");
    }
    return line;
  }
  // The next line, which must be exactly `expected`.
  void Expect(const std::string& expected) {
    std::string got = Next();
    if (got != expected) Fail("expected \"" + expected + "\", found \"" + Shorten(got) + "\"");
  }
  // The next line must start with `word` and a blank; the rest split at single blanks.
  std::vector<std::string> Fields(const std::string& word, size_t count) {
    std::string got = Next();
    return Split(got, word, count);
  }
  std::vector<std::string> Split(const std::string& got, const std::string& word, size_t count) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
      size_t space = got.find(' ', start);
      fields.push_back(
          got.substr(start, space == std::string::npos ? std::string::npos : space - start));
      if (space == std::string::npos) break;
      start = space + 1;
    }
    if (fields.front() != word) {
      Fail("expected a \"" + word + "\" line, found \"" + Shorten(got) + "\"");
    }
    if (fields.size() != count + 1) {
      Fail("a \"" + word + "\" line needs " + std::to_string(count) + " values, not " +
           std::to_string(fields.size() - 1));
    }
    fields.erase(fields.begin());
    return fields;
  }
  // The first word of the next line, without taking the line.
  std::string PeekWord() const {
    if (AtEnd()) return {};
    size_t end = text_.find_first_of(" \r\n", pos_);
    if (end == std::string::npos) end = text_.size();
    return text_.substr(pos_, end - pos_);
  }

  [[noreturn]] void Fail(const std::string& what) const { throw ReplayError(line_, what); }

  static std::string Shorten(const std::string& text) {
    return text.size() <= 40 ? text : text.substr(0, 40) + "...";
  }

  template <typename T>
  T Integer(const std::string& field, const char* what, int64_t low, int64_t high) const {
    int64_t value = 0;
    auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || result.ec != std::errc() || result.ptr != field.data() + field.size()) {
      Fail(std::string(what) + " is not a whole number: \"" + Shorten(field) + "\"");
    }
    if (value < low || value > high) {
      Fail(std::string(what) + " " + field + " is out of range (" + std::to_string(low) + " to " +
           std::to_string(high) + ")");
    }
    return static_cast<T>(value);
  }
  uint64_t Bits(const std::string& field, const char* what, size_t digits) const {
    uint64_t value = 0;
    auto result = std::from_chars(field.data(), field.data() + field.size(), value, 16);
    if (field.empty() || field.size() > digits || result.ec != std::errc() ||
        result.ptr != field.data() + field.size() || field.front() == '+' || field.front() == '-') {
      Fail(std::string(what) + " is not " + std::to_string(digits) +
           " hexadecimal digits at most: \"" + Shorten(field) + "\"");
    }
    return value;
  }
  float Float(const std::string& field, const char* what) const {
    const uint32_t bits = static_cast<uint32_t>(Bits(field, what, 8));
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value) || std::fabs(value) > kLargestCoordinate) {
      Fail(std::string(what) + " is not a number the game could hold");
    }
    return value;
  }
  bool Truth(const std::string& field, const char* what) const {
    if (field == "0") return false;
    if (field == "1") return true;
    Fail(std::string(what) + " must be 0 or 1, not \"" + Shorten(field) + "\"");
  }

 private:
  const std::string& text_;
  size_t pos_ = 0;
  int line_ = 0;
};

constexpr int64_t kInt16Max = std::numeric_limits<int16_t>::max();
constexpr int64_t kInt16Min = std::numeric_limits<int16_t>::min();

void ReadStart(Reader& r, GameStart& s) {
  s.random = r.Bits(r.Fields("random", 1)[0], "the random state", 16);
  auto p = r.Fields("player", 5);
  s.playerX = r.Float(p[0], "PlayerX");
  s.playerY = r.Float(p[1], "PlayerY");
  s.playerSpeed = r.Float(p[2], "PlayerSpeed");
  s.playerHealth = r.Float(p[3], "PlayerHealth");
  s.playerFade = r.Float(p[4], "PlayerFade");

  auto e = r.Fields("enemies", 2);
  const size_t count = r.Integer<size_t>(e[0], "the enemy count", kEdgeRunner + 1, kInt16Max + 1);
  s.enemiesLeft = r.Integer<int16_t>(e[1], "EnemiesLeft", kInt16Min, kInt16Max);
  s.enemies.assign(count, Enemy{});
  int64_t last = -1;
  while (r.PeekWord() == "enemy") {
    auto f = r.Fields("enemy", 10);
    const int64_t i =
        r.Integer<int64_t>(f[0], "the enemy", last + 1, static_cast<int64_t>(count) - 1);
    Enemy& enemy = s.enemies[static_cast<size_t>(i)];
    enemy.X = r.Float(f[1], "X");
    enemy.Y = r.Float(f[2], "Y");
    enemy.Speed = r.Float(f[3], "Speed");
    enemy.TargetX = r.Float(f[4], "TargetX");
    enemy.TargetY = r.Float(f[5], "TargetY");
    enemy.Health = r.Float(f[6], "Health");
    enemy.Fade = r.Float(f[7], "Fade");
    enemy.RespawnDelay = r.Float(f[8], "RespawnDelay");
    const int flags = r.Integer<int>(f[9], "the enemy's flags", 0, 7);
    enemy.Ally = flags & 1;
    enemy.Infected = flags & 2;
    enemy.InfectedByOther = flags & 4;
    last = i;
  }

  s.shots.assign(kShotCount, Shot{});
  last = -1;
  while (r.PeekWord() == "shot") {
    auto f = r.Fields("shot", 8);
    const int64_t i = r.Integer<int64_t>(f[0], "the shot", last + 1, kShotCount - 1);
    Shot& shot = s.shots[static_cast<size_t>(i)];
    shot.Active = r.Truth(f[1], "Active");
    shot.X = r.Float(f[2], "X");
    shot.Y = r.Float(f[3], "Y");
    shot.SpeedX = r.Float(f[4], "SpeedX");
    shot.SpeedY = r.Float(f[5], "SpeedY");
    shot.Hostile = r.Float(f[6], "Hostile");
    shot.Owner = r.Float(f[7], "Owner");
    last = i;
  }

  auto b = r.Fields("bonus", 6);
  s.bonusVisible = r.Truth(b[0], "BonusVisible");
  s.bonusTaken = r.Truth(b[1], "BonusTaken");
  s.bonusFade = r.Float(b[2], "BonusFade");
  s.bonusType = r.Integer<int16_t>(b[3], "BonusType", 0, kBonusTypeCount - 1);
  s.bonusX = r.Float(b[4], "BonusX");
  s.bonusY = r.Float(b[5], "BonusY");
  last = -1;
  while (r.PeekWord() == "bonustime") {
    auto f = r.Fields("bonustime", 3);
    const int64_t i = r.Integer<int64_t>(f[0], "the bonus type", last + 1, kBonusTypeCount - 1);
    s.bonusActive[static_cast<size_t>(i)] = r.Truth(f[1], "Active");
    s.bonusTime[static_cast<size_t>(i)] = r.Float(f[2], "Time");
    last = i;
  }

  auto g = r.Fields("progress", 8);
  s.score = r.Integer<int16_t>(g[0], "Score", kInt16Min, kInt16Max);
  s.survival = r.Truth(g[1], "SurvivalMode");
  s.level = r.Integer<int16_t>(g[2], "Level", 1, kMaxLevel);
  s.highestLevel = r.Integer<int16_t>(g[3], "HighestLevel", 1, kMaxLevel);
  s.paused = r.Truth(g[4], "Paused");
  s.animClock = r.Float(g[5], "AnimClock");
  s.survivalClock = r.Float(g[6], "SurvivalClock");
  s.lastLevelWon = r.Truth(g[7], "LastLevelWon");

  auto m = r.Fields("menu", 6);
  s.menuSelection = r.Integer<int16_t>(m[0], "MenuSelection", kSurvivalEntry, kExitEntry);
  s.menuDelay = r.Integer<int16_t>(m[1], "MenuDelay", kInt16Min, kInt16Max);
  s.logoFade = r.Float(m[2], "LogoFade");
  s.bestScore = r.Float(m[3], "BestScore");
  s.newBestScore = r.Truth(m[4], "NewBestScore");
  s.lastScore = r.Float(m[5], "LastScore");

  const std::string caption = r.Next();
  if (caption != "caption" && caption.rfind("caption ", 0) != 0) {
    r.Fail("expected a \"caption\" line, found \"" + Reader::Shorten(caption) + "\"");
  }
  s.exitCaption = caption.size() > 8 ? caption.substr(8) : std::string();
  if (s.exitCaption.size() > 200) r.Fail("the caption is longer than any the game shows");

  last = -1;
  while (r.PeekWord() == "record") {
    auto f = r.Fields("record", 2);
    const int64_t level = r.Integer<int64_t>(f[0], "the record's level", last + 1, kMaxLevel);
    s.levelBest[static_cast<size_t>(level)] = r.Float(f[1], "the record");
    last = level;
  }
  last = -1;
  while (r.PeekWord() == "newrecord") {
    auto f = r.Fields("newrecord", 1);
    const int64_t level = r.Integer<int64_t>(f[0], "the new record's level", last + 1, kMaxLevel);
    s.newLevelBest[static_cast<size_t>(level)] = true;
    last = level;
  }
}

int16_t ReadKey(const Reader& r, const std::string& text) {
  if (text.size() == 1 && !std::isdigit(static_cast<unsigned char>(text[0]))) {
    for (const KeyName& name : kKeyNames) {
      if (name.name == text[0]) return name.key;
    }
    r.Fail("an unknown key \"" + text + "\"");
  }
  return r.Integer<int16_t>(text, "a key's scan code", 1, 255);
}

void ReadEvent(const Reader& r, const std::string& token, int64_t& pass, Replay& replay) {
  size_t op = 0;
  while (op < token.size() && std::isdigit(static_cast<unsigned char>(token[op]))) ++op;
  if (op > 0) {
    const int64_t step = r.Integer<int64_t>(token.substr(0, op), "the passes since the last event",
                                            0, replay.passes);
    pass += step;
  }
  if (pass < 1 || pass > replay.passes) {
    r.Fail("an event at pass " + std::to_string(pass) + ", outside the game's passes 1 to " +
           std::to_string(replay.passes));
  }
  if (op >= token.size()) r.Fail("\"" + Reader::Shorten(token) + "\" names no event");
  ReplayEvent event;
  event.pass = pass;
  const std::string rest = token.substr(op + 1);
  switch (token[op]) {
    case '+':
      event.kind = ReplayEvent::Kind::KeyDown;
      event.key = ReadKey(r, rest);
      break;
    case '-':
      event.kind = ReplayEvent::Kind::KeyUp;
      event.key = ReadKey(r, rest);
      break;
    case '*':
      event.kind = ReplayEvent::Kind::KeyHit;
      event.key = ReadKey(r, rest);
      break;
    case '!':
      event.kind = ReplayEvent::Kind::FocusLost;
      if (!rest.empty()) r.Fail("\"!\" (focus lost) takes nothing after it");
      break;
    case '@': {
      event.kind = ReplayEvent::Kind::Clock;
      const uint64_t bits = r.Bits(rest, "a clock reading", 16);
      std::memcpy(&event.clock, &bits, sizeof event.clock);
      if (!std::isfinite(event.clock) || event.clock < 0 || event.clock >= 86401) {
        r.Fail("a clock reading that is no time of day");
      }
      break;
    }
    default:
      r.Fail("an unknown event \"" + Reader::Shorten(token) + "\"");
  }
  replay.events.push_back(event);
}

void ReadEvents(Reader& r, Replay& replay) {
  int64_t pass = 0;
  while (r.PeekWord() != "digests") {
    const std::string line = r.Next();
    if (line.empty()) r.Fail("an empty line among the events");
    size_t start = 0;
    while (true) {
      const size_t end = line.find(' ', start);
      const std::string token =
          line.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (token.empty()) r.Fail("an empty event (two blanks, or one at an end of the line)");
      ReadEvent(r, token, pass, replay);
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  if (replay.events.empty() || replay.events.front().pass != 1 ||
      replay.events.front().kind != ReplayEvent::Kind::Clock) {
    r.Fail("the events do not begin with the clock of the first pass");
  }
}

int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  return lines + (text.back() == '\n' ? 0 : 1);
}

}  // namespace

size_t DigestCount(int64_t passes) {
  return static_cast<size_t>(passes / kDigestInterval) + 2;
}

std::string WriteReplay(const Replay& replay) {
  Writer w;
  w << kReplayFormatName << " " << static_cast<int64_t>(kReplayFormatVersion) << "\n";
  w << "game " << replay.gameVersion << "\n";
  w << "mode " << (replay.start.survival ? "survival" : "level") << "\n";
  w << "level " << static_cast<int64_t>(replay.start.level) << "\n";
  w << "passes " << replay.passes << "\n";
  w << "score " << static_cast<int64_t>(replay.score) << "\n";
  w << "start\n";
  WriteStart(w, replay.start);
  w << "events\n";
  WriteEvents(w, replay.events);
  w << "digests\n";
  for (uint64_t digest : replay.digests) {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx\n", static_cast<unsigned long long>(digest));
    w << text;
  }
  w << "end\n";
  return std::move(w.text());
}

Replay ReadReplay(const std::string& text, const std::string& gameVersion) {
  if (text.size() > kMaxReplayBytes) {
    throw ReplayError(
        0, "the file is larger than any replay (" + std::to_string(text.size()) + " bytes)");
  }
  if (text.empty()) throw ReplayError(0, "the file is empty");
  Reader r(text);
  Replay replay;

  const std::string first = r.Next();
  const std::string name = std::string(kReplayFormatName) + " ";
  if (first.rfind(name, 0) != 0) {
    r.Fail("this is not a Swayfire replay (it does not begin with \"" + name + "\")");
  }
  const std::string format = first.substr(name.size());
  if (format != std::to_string(kReplayFormatVersion)) {
    r.Fail("a replay of format " + Reader::Shorten(format) + "; this game reads format " +
           std::to_string(kReplayFormatVersion));
  }
  // Every replay the game writes ends with a whole line; a last line without its end was cut.
  if (text.back() != '\n') {
    throw ReplayError(CountLines(text),
                      "the file ends in the middle of this line: it is cut short");
  }
  const std::string version = r.Fields("game", 1)[0];
  if (version != gameVersion) {
    r.Fail("recorded by Swayfire " + Reader::Shorten(version) + ", whose rules may differ from " +
           "this Swayfire " + gameVersion + "'s");
  }
  replay.gameVersion = version;
  const std::string mode = r.Fields("mode", 1)[0];
  if (mode != "survival" && mode != "level") {
    r.Fail("the mode is \"survival\" or \"level\", not \"" + Reader::Shorten(mode) + "\"");
  }
  const int16_t level =
      r.Integer<int16_t>(r.Fields("level", 1)[0], "the start level", 1, kMaxLevel);
  replay.passes = r.Integer<int64_t>(r.Fields("passes", 1)[0], "the passes", 1,
                                     std::numeric_limits<int32_t>::max());
  replay.score = r.Integer<int>(r.Fields("score", 1)[0], "the score", kInt16Min, kInt16Max);
  r.Expect("start");
  ReadStart(r, replay.start);
  if (replay.start.survival != (mode == "survival") || replay.start.level != level) {
    r.Fail("the start state's mode or level is not the one the header names");
  }
  r.Expect("events");
  ReadEvents(r, replay);
  r.Expect("digests");
  while (r.PeekWord() != "end") {
    const std::string line = r.Next();
    if (line.size() != 16) r.Fail("a digest is 16 hexadecimal digits");
    replay.digests.push_back(r.Bits(line, "a digest", 16));
    if (replay.digests.size() > DigestCount(replay.passes)) {
      r.Fail("more digests than a game of " + std::to_string(replay.passes) + " passes has");
    }
  }
  if (replay.digests.size() != DigestCount(replay.passes)) {
    r.Fail("a game of " + std::to_string(replay.passes) + " passes has " +
           std::to_string(DigestCount(replay.passes)) + " digests, not " +
           std::to_string(replay.digests.size()));
  }
  r.Expect("end");
  if (!r.AtEnd()) r.Fail("something follows the end line");
  return replay;
}
