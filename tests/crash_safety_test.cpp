// The score file survives the game being killed (SIGKILL: no clean-up, no flush) at any moment of a
// write: afterwards it always reads as it was before or after the interrupted write, never as half
// of one. Two writers are killed over and over: a child process writing scores in a loop through
// the real Utility, and the headless game during its start-up, which writes the fifty default
// level scores one by one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "../fuzz/ini_checks.h"
#include "io/ini_utility.h"
#include "io/paths.h"
#include "test_support.h"

extern char** environ;

namespace {

using Keys = std::map<std::string, std::string>;  // "SECTION/KEY" -> value

// Every key of the file, as a plain reader sees it; fails the test on a line that is neither a
// section, a key nor blank: a torn write shows up as such a line or as a missing key.
Keys ReadKeys(const std::filesystem::path& file) {
  std::string text = test::ReadFile(file);
  EXPECT_TRUE(text.empty() || text.back() == '\n') << "the file ends inside a line:\n" << text;
  Keys keys;
  for (const fuzzcheck::IniEntry& entry : fuzzcheck::PlainEntries(text)) {
    keys[entry.section + "/" + entry.key] = entry.value;
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    bool fine = line.empty() || (line.front() == '[' && line.back() == ']') ||
                line.find('=') != std::string::npos;
    EXPECT_TRUE(fine) << "a broken line: " << line;
    start = end + 1;
  }
  return keys;
}

std::string Filler(int i) {
  return "a note long enough to make every write of the file take a while, number " +
         std::to_string(i);
}

// A score file with a few records and enough other lines that a write is not over in an instant.
std::string StartingFile() {
  std::string text = "[SCORE]\nM1=4321\nM2-60=77\n[LEVEL]\nPASSED=9\n[NOTES]\n";
  for (int i = 0; i < 300; ++i) text += "note-" + std::to_string(i) + "=" + Filler(i) + "\n";
  return text;
}

// The child: writes "M2-n" for n = 1, 2, ... 50, 1, 2 ... with the values first, first + 1, ...
// until it is killed, through the real Utility. It says it is ready once its first write is done,
// so that every kill lands among the writes however slowly the machine starts it. Without its flush
// to disk, which guards against a power cut, not against a killed process (the system still writes
// out what the process wrote), and which would only make the test slower.
[[noreturn]] void WriteScoresUntilKilled(const std::string& folder, int first, int ready) {
  Paths paths(folder);
  IniUtility utility(paths, /*durable=*/false);
  for (int i = first; i < first + 100000; ++i) {
    utility.WriteIni("SCORE", "M2-" + std::to_string(i % 50 + 1), std::to_string(i),
                     "files\\bullet.dds", 0);
    if (i == first) {
      char go = 1;
      if (::write(ready, &go, 1) != 1) _exit(2);
    }
  }
  _exit(0);
}

TEST(CrashSafety, ScoreWritesKilledAtRandomMomentsLeaveTheOldOrTheNewFile) {
  test::TempFolder folder;
  const auto file = folder / "files" / "bullet.dds";
  test::WriteFile(file, StartingFile());
  Keys state = ReadKeys(file);
  ASSERT_EQ(state.size(), 303u);

  // How long one write takes on this machine, to spread the kills over several writes.
  test::TempFolder scratch;
  test::WriteFile(scratch / "files" / "bullet.dds", StartingFile());
  Paths scratchPaths(scratch.str());
  IniUtility scratchUtility(scratchPaths, /*durable=*/false);
  auto begin = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) scratchUtility.WriteIni("SCORE", "M1", "1", "files\\bullet.dds", 0);
  const auto write = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::steady_clock::now() - begin)
                         .count() /
                     5;
  const auto spread = 2000 + 6 * write;

  std::mt19937 random(20261207);
  const int rounds = 100;
  int roundsWithMoreWrites = 0;
  for (int round = 0; round < rounds; ++round) {
    const int first = (round + 1) * 1000000;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) WriteScoresUntilKilled(folder.str(), first, ready[1]);
    // The kill comes at a random moment after the child's first write.
    char go = 0;
    ASSERT_EQ(::read(ready[0], &go, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % spread));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended on its own";

    // The last value written is the highest one of this round; every write up to it is in the
    // file, every later one is not.
    Keys now = ReadKeys(file);
    int last = first - 1;  // none of this round's writes
    for (const auto& [name, value] : now) {
      if (name.rfind("SCORE/M2-", 0) == 0 && std::stoi(value) >= first) {
        last = std::max(last, std::stoi(value));
      }
    }
    Keys expected = state;
    for (int i = first; i <= last; ++i) {
      expected["SCORE/M2-" + std::to_string(i % 50 + 1)] = std::to_string(i);
    }
    ASSERT_EQ(now, expected) << "round " << round << ", writes " << first << " to " << last;
    ASSERT_GE(last, first) << "round " << round << ": the first write is not in the file";
    if (last > first) ++roundsWithMoreWrites;
    state = now;
  }
  // The rounds in which more than the first write was done before the kill: kills among the
  // writes, without which the test would have checked nothing.
  RecordProperty("rounds_with_more_writes", roundsWithMoreWrites);
  EXPECT_GT(roundsWithMoreWrites, 0) << "no kill landed among the writes";
}

// Several copies of the game saving into one score file at the same moment (a player who started
// it twice): every key each of them saved is there at the end, and the file is whole.
TEST(CrashSafety, CopiesSavingAtTheSameMomentLoseNoKey) {
  test::TempFolder folder;
  const auto file = folder / "files" / "bullet.dds";
  test::WriteFile(file, "[SCORE]\nM1=4321\n[LEVEL]\nPASSED=9\n");
  constexpr int kCopies = 4;
  constexpr int kKeysEach = 120;
  EXPECT_TRUE(test::RunCopiesTogether(kCopies, [&](int copy) {
    Paths paths(folder.str());
    IniUtility utility(paths, /*durable=*/false);
    for (int i = 0; i < kKeysEach; ++i) {
      utility.WriteIni("SCORE", "C" + std::to_string(copy) + "-" + std::to_string(i),
                       std::to_string(i), "files\\bullet.dds", 0);
    }
  }));

  Keys keys = ReadKeys(file);
  EXPECT_EQ(keys["SCORE/M1"], "4321");
  EXPECT_EQ(keys["LEVEL/PASSED"], "9");
  int lost = 0;
  for (int copy = 0; copy < kCopies; ++copy) {
    for (int i = 0; i < kKeysEach; ++i) {
      const std::string name = "SCORE/C" + std::to_string(copy) + "-" + std::to_string(i);
      if (keys.count(name) == 0 || keys[name] != std::to_string(i)) ++lost;
    }
  }
  EXPECT_EQ(lost, 0) << "of " << kCopies * kKeysEach << " keys saved";
  EXPECT_EQ(keys.size(), 2u + kCopies * kKeysEach);
  EXPECT_EQ(test::TemporaryFilesIn(folder / "files"), std::vector<std::string>{});
}

// Starts the headless game on the folder; it runs far longer than the test waits.
pid_t StartHeadless(const std::string& folder) {
  std::string program = SWAYFIRE_HEADLESS;
  std::string passes = "1000000";
  const char* argv[] = {program.c_str(), "--folder",     folder.c_str(),
                        "--passes",      passes.c_str(), nullptr};
  pid_t pid = -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn(&pid, program.c_str(), &actions, nullptr, const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

TEST(CrashSafety, GameKilledWhileWritingDefaultScoresKeepsEveryRecord) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  const auto file = folder / "files" / "bullet.dds";
  const std::string records = "[SCORE]\nM1=777\nM2-60=5\n[LEVEL]\nPASSED=12\n";

  // How long a start-up with its fifty writes takes on this machine, to spread the kills over it.
  test::WriteFile(file, records);
  auto begin = std::chrono::steady_clock::now();
  pid_t probe = StartHeadless(folder.str());
  ASSERT_GT(probe, 0);
  while (ReadKeys(file).size() < 53 &&
         std::chrono::steady_clock::now() - begin < std::chrono::seconds(20)) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  auto startUp = std::chrono::duration_cast<std::chrono::microseconds>(
                     std::chrono::steady_clock::now() - begin)
                     .count();
  ::kill(probe, SIGKILL);
  ::waitpid(probe, nullptr, 0);
  ASSERT_EQ(ReadKeys(file).size(), 53u) << "the game did not write its default scores";

  std::mt19937 random(7);
  int interrupted = 0;
  // At least 24 rounds, and more (up to 240) until a kill has landed inside the writes: a machine
  // slower or faster than the probe said must still test what it is meant to.
  const int rounds = 24;
  for (int round = 0; round < rounds || (interrupted == 0 && round < 10 * rounds); ++round) {
    test::WriteFile(file, records);
    pid_t game = StartHeadless(folder.str());
    ASSERT_GT(game, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % (startUp + 1)));
    ::kill(game, SIGKILL);
    ::waitpid(game, nullptr, 0);

    // The records are all there, and the defaults written so far are M2-1 to M2-k, in order.
    Keys now = ReadKeys(file);
    EXPECT_EQ(now["SCORE/M1"], "777");
    EXPECT_EQ(now["SCORE/M2-60"], "5");
    EXPECT_EQ(now["LEVEL/PASSED"], "12");
    size_t written = 0;
    while (now.count("SCORE/M2-" + std::to_string(written + 1))) ++written;
    EXPECT_EQ(now.size(), 3 + written) << "defaults written out of order";
    for (size_t n = 1; n <= written; ++n) EXPECT_EQ(now["SCORE/M2-" + std::to_string(n)], "0");
    if (written > 0 && written < 50) ++interrupted;
  }
  RecordProperty("kills_during_the_writes", interrupted);
  EXPECT_GT(interrupted, 0) << "no kill landed inside the writes of the default scores";
}

}  // namespace
