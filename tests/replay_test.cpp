// Replays: games recorded through the recording layer on the recording backend, played back and
// compared call by call; the files kept beside the score file; verification by
// swayfire-headless --replay; damaged replays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "replay/game_state.h"
#include "replay/playback.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "replay/replay_store.h"
#include "replay/version.h"
#include "shell/shell.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using Kind = ScriptEvent::Kind;

struct Kept {
  Replay replay;
  std::string recordKey;
};

// A game over the recording layer over the recording backend, in a folder with the game's files.
// Every finished game is kept in `games` and, when a store is given, in its files.
struct RecordedRun {
  explicit RecordedRun(const test::TempFolder& folder, bool keepTrace = true,
                       const ReplayStore* store = nullptr)
      : backend(RecordingBackend::Options{folder.str(), 43200, keepTrace}),
        recorder(backend.engine(), backend.utility(), backend.platform(),
                 [this, store](const Replay& replay, const std::string& key) {
                   games.push_back({replay, key});
                   if (store != nullptr) store->Keep(replay, key);
                 }),
        game(recorder.engine(), recorder.utility(), backend.musicPlayer(), recorder.platform()) {
    recorder.Attach(game);
  }
  int Play(std::vector<ScriptEvent> script, int64_t passes) {
    backend.SetScript(std::move(script), passes);
    return Main(game);
  }

  RecordingBackend backend;
  GameRecorder recorder;
  Game game;
  std::vector<Kept> games;
};

// The replay played back on a fresh recording backend in a folder of its own.
struct PlayedBack {
  explicit PlayedBack(Replay replay)
      : backend(RecordingBackend::Options{folder.str(), 43200, true}),
        playback(backend.engine(), backend.utility(), backend.platform(), std::move(replay), false),
        game(playback.engine(), playback.utility(), backend.musicPlayer(), playback.platform()) {
    test::MakeAssetFiles(folder.path());
  }
  // Start-up, then every pass; the trace holds the replayed passes only.
  void Play() {
    StartUp(game);
    backend.ClearTrace();
    if (playback.Begin(game)) {
      while (playback.Step(game)) {
      }
    }
  }

  test::TempFolder folder;
  RecordingBackend backend;
  ReplayPlayback playback;
  Game game;
};

// The trace of the backend's passes first..last, with the passes unnumbered and without the key
// questions, which a replay answers itself instead of asking the backend.
std::vector<std::string> GameTrace(const std::vector<std::string>& lines, int64_t first,
                                   int64_t last) {
  std::vector<std::string> kept;
  int64_t pass = 0;
  for (const std::string& line : lines) {
    if (line.rfind("# pass ", 0) == 0) {
      pass = std::stoll(line.substr(7));
      if (pass >= first && pass <= last) kept.push_back("# pass");
      continue;
    }
    if (pass < first || pass > last) continue;
    if (line.rfind("Engine.IsKey", 0) == 0) continue;
    kept.push_back(line);
  }
  return kept;
}

// A survival game started at pass 10 and played with moves, fire, the health key, a pause, a
// loss of focus, until Escape at `escapeAt`.
std::vector<ScriptEvent> SurvivalScript(int64_t escapeAt) {
  std::vector<ScriptEvent> script = {{10, Kind::Tap, Key::Space}};
  const int16_t moves[] = {Key::Left, Key::Up, Key::Right, Key::Down};
  const int16_t fire[] = {Key::A, Key::W, Key::D, Key::S};
  for (int64_t pass = 20, i = 0; pass < escapeAt - 5; pass += 13, ++i) {
    script.push_back({pass, Kind::Down, moves[i % 4]});
    script.push_back({pass + 9, Kind::Up, moves[i % 4]});
    script.push_back({pass + 2, Kind::Tap, fire[(i * 3) % 4]});
    if (i % 7 == 3) script.push_back({pass + 4, Kind::Down, fire[i % 4]});
    if (i % 7 == 3) script.push_back({pass + 11, Kind::Up, fire[i % 4]});
    if (i % 5 == 2) {
      script.push_back({pass + 5, Kind::Down, Key::H});
      script.push_back({pass + 6, Kind::Tap, Key::E});
      script.push_back({pass + 7, Kind::Up, Key::H});
    }
  }
  script.push_back({300, Kind::Tap, Key::P});
  script.push_back({340, Kind::Tap, Key::P});
  script.push_back({500, Kind::Blur, 0});
  script.push_back({530, Kind::Tap, Key::P});
  script.push_back({escapeAt, Kind::Tap, Key::Escape});
  return script;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file under the folder with its contents: what a run must leave as it found.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    files[entry.path().string()] = entry.is_regular_file() ? Slurp(entry.path()) : "(folder)";
  }
  return files;
}

test::CommandResult Verify(const fs::path& replay, const fs::path& folder) {
  return test::RunCommand(std::string(SWAYFIRE_HEADLESS) + " --replay '" + replay.string() +
                          "' --folder '" + folder.string() + "' 2>&1");
}

TEST(Replay, AScriptedGamePlaysBackCallForCallWithEveryDigest) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  RecordedRun run(folder);
  constexpr int64_t kEscape = 1500;
  ASSERT_EQ(run.Play(SurvivalScript(kEscape), kEscape + 100), 0);
  ASSERT_EQ(run.games.size(), 1u);
  const Replay& replay = run.games[0].replay;
  // NewGame ran in the menu's pass 10; the game's passes are 11 to the Escape's.
  EXPECT_EQ(replay.passes, kEscape - 10);
  EXPECT_EQ(replay.score, run.game.Score);
  EXPECT_TRUE(replay.start.survival);
  EXPECT_EQ(replay.digests.size(), DigestCount(replay.passes));
  EXPECT_EQ(run.games[0].recordKey, "");  // Escape saves no record

  // The file reads back as it was written.
  const std::string text = WriteReplay(replay);
  const Replay reread = ReadReplay(text, ReplayGameVersion());
  EXPECT_EQ(WriteReplay(reread), text);

  PlayedBack back(reread);
  back.Play();
  EXPECT_EQ(back.playback.FirstDifference(), -1);
  EXPECT_TRUE(back.playback.Finished());
  EXPECT_EQ(back.game.Score, replay.score);
  const auto recorded = GameTrace(run.backend.TraceLines(), 11, kEscape);
  const auto replayed = GameTrace(back.backend.TraceLines(), 1, replay.passes);
  ASSERT_GT(recorded.size(), 1000u);
  ASSERT_EQ(recorded.size(), replayed.size());
  for (size_t i = 0; i < recorded.size(); ++i) {
    ASSERT_EQ(recorded[i], replayed[i]) << "call " << i;
  }
}

// A window that keeps a loss of the focus until it is asked, as the page does.
class StickyFocus : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  void Lose() { lost_ = true; }
  bool LostFocus() override { return std::exchange(lost_, false); }

 private:
  bool lost_ = false;
};

// A watcher who leaves the window meanwhile changes nothing in the replay, and leaves nothing
// behind for what comes after it (in the page, the next game would start paused).
TEST(Replay, TheWatchersFocusLossNeitherReachesTheReplayNorOutlastsIt) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  RecordedRun run(folder);
  ASSERT_EQ(run.Play(SurvivalScript(400), 450), 0);
  ASSERT_EQ(run.games.size(), 1u);

  RecordingBackend backend(RecordingBackend::Options{folder.str(), 43200, false});
  StickyFocus window(backend.platform());
  ReplayPlayback playback(backend.engine(), backend.utility(), window, run.games[0].replay, false);
  Game game(playback.engine(), playback.utility(), backend.musicPlayer(), playback.platform());
  StartUp(game);
  ASSERT_TRUE(playback.Begin(game));
  while (playback.Step(game)) {
    if (playback.Pass() == 100) window.Lose();
  }
  EXPECT_EQ(playback.FirstDifference(), -1);
  EXPECT_TRUE(playback.Finished());
  EXPECT_FALSE(window.LostFocus());
}

TEST(Replay, ADifferentStartOrKeyIsCaughtAtTheFirstDigest) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  RecordedRun run(folder, false);
  ASSERT_EQ(run.Play(SurvivalScript(900), 1000), 0);
  ASSERT_EQ(run.games.size(), 1u);

  // Another random state: the start itself is not the recorded one.
  Replay start = run.games[0].replay;
  start.start.random ^= 1;
  PlayedBack other(start);
  other.Play();
  EXPECT_EQ(other.playback.FirstDifference(), 0);

  // One fire key press moved to another key: caught at the next 60th pass.
  Replay keys = run.games[0].replay;
  int64_t changedAt = 0;
  for (ReplayEvent& event : keys.events) {
    if (event.kind == ReplayEvent::Kind::KeyHit && event.key == Key::A && event.pass > 100) {
      event.key = Key::D;
      changedAt = event.pass;
      break;
    }
  }
  ASSERT_GT(changedAt, 0);
  PlayedBack changed(keys);
  changed.Play();
  const int64_t at = changed.playback.FirstDifference();
  EXPECT_GE(at, changedAt);
  EXPECT_LT(at, changedAt + kDigestInterval + 1);
}

// A level cleared with the health key, then level 2 begun and left with Escape: the level record's
// replay and last.replay are kept beside the score file, and both verify to the recorded scores.
TEST(Replay, TheRecordAndTheLastGameAreKeptAndVerify) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  std::ifstream keys(fs::path(SWAYFIRE_SOURCE_DIR) / "tests/golden/level_clear.keys");
  const ReplayStore store(folder.str() + "/files");
  {
    RecordedRun run(folder, false, &store);
    ASSERT_EQ(run.Play(ParseInputScript(keys), 4800), 0);
    ASSERT_EQ(run.games.size(), 2u);
    EXPECT_EQ(run.games[0].recordKey, "M2-1");
    EXPECT_EQ(run.games[1].recordKey, "");
  }
  const fs::path replays = folder / "files/replays";
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(replays)) {
    // The atomic write's lock files stay, one a replay, as the score file's does.
    const std::string name = entry.path().filename().string();
    if (!name.ends_with(".lock")) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"best-level-1.replay", "last.replay"}));

  std::smatch record;
  const std::string scores = Slurp(folder / "files/bullet.dds");
  ASSERT_TRUE(std::regex_search(scores, record, std::regex("M2-1=(\\d+)")));
  ASSERT_NE(record[1].str(), "0");

  const auto before = Snapshot(folder.path());
  const auto best = Verify(replays / "best-level-1.replay", folder.path());
  EXPECT_EQ(best.status, 0) << best.output;
  EXPECT_NE(best.output.find("mode: level\nstart level: 1\nfinal score: " + record[1].str() + "\n"),
            std::string::npos)
      << best.output;
  EXPECT_NE(best.output.find("every digest matched"), std::string::npos);

  const auto last = Verify(replays / "last.replay", folder.path());
  EXPECT_EQ(last.status, 0) << last.output;
  EXPECT_NE(last.output.find("mode: level\nstart level: 2\n"), std::string::npos) << last.output;
  EXPECT_EQ(Snapshot(folder.path()), before) << "verifying wrote a file";
}

// A replay of this game, damaged in the ways a file gets damaged: each is told clearly, with the
// file and the line, and nothing is played or written.
TEST(Replay, DamagedReplaysAreToldAndWriteNothing) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  RecordedRun run(folder, false);
  ASSERT_EQ(run.Play(SurvivalScript(700), 800), 0);
  ASSERT_EQ(run.games.size(), 1u);
  const std::string good = WriteReplay(run.games[0].replay);
  const auto before = Snapshot(folder.path());

  auto check = [&](const std::string& name, const std::string& text, int status,
                   const std::string& message) {
    const fs::path file = folder / name;
    test::WriteFile(file, text);
    const auto result = Verify(file, folder.path());
    EXPECT_EQ(result.status, status) << name << ": " << result.output;
    EXPECT_NE(result.output.find(file.string() + ": " + message), std::string::npos)
        << name << ": " << result.output;
    fs::remove(file);
  };
  const size_t events = good.find("\nevents\n");
  ASSERT_NE(events, std::string::npos);
  check("cut.replay", good.substr(0, good.size() / 2), 2, "line ");
  check("cut-at-end.replay", good.substr(0, good.size() - 4), 2, "line ");
  check("garbage.replay", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11) + "IHDR", 2,
        "line 1: this is not a Swayfire replay");
  check("empty.replay", "", 2, "the file is empty");

  std::string version = good;
  version.replace(version.find("game 1.0"), 8, "game 0.9");
  check("old.replay", version, 2, "line 2: recorded by Swayfire 0.9, whose rules may differ");
  EXPECT_NE(ReplayGameVersion(), "0.9");

  std::string format = good;
  format.replace(0, 17, "swayfire-replay 7");
  check("format.replay", format, 2, "line 1: a replay of format 7; this game reads format 1");

  // A key line edited by hand: the file reads, the game goes elsewhere.
  std::string edited = good;
  const size_t hit = edited.find("*A", events);
  ASSERT_NE(hit, std::string::npos);
  edited.replace(hit, 2, "*D");
  check("edited.replay", edited, 1, "the game's state differs from the recorded one after pass ");

  std::string badKey = good;
  badKey.replace(badKey.find("*A", events), 2, "*300");
  check("key.replay", badKey, 2, "line ");
  std::string unknown = good;
  unknown.replace(unknown.find("*A", events), 2, "*Q");
  check("unknown.replay", unknown, 2, "line ");

  EXPECT_EQ(Snapshot(folder.path()), before);
}

// A ten-minute survival game with a busy player (a key changes a few times a second) stays a
// small file, and still plays back as recorded.
TEST(Replay, ATenMinuteSurvivalGameStaysUnder64KB) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  RecordedRun run(folder, false);
  constexpr int64_t kTenMinutes = 36000;
  std::vector<ScriptEvent> script = SurvivalScript(kTenMinutes + 20);
  script.pop_back();  // no Escape: the window closes at the end
  ASSERT_EQ(run.Play(script, kTenMinutes + 10), 0);
  ASSERT_EQ(run.games.size(), 1u);
  const Replay& replay = run.games[0].replay;
  ASSERT_EQ(replay.passes, kTenMinutes);
  EXPECT_GT(replay.events.size(), 10000u);
  EXPECT_LT(WriteReplay(replay).size(), 64u * 1024u);

  PlayedBack back(replay);
  back.Play();
  EXPECT_EQ(back.playback.FirstDifference(), -1);
  EXPECT_EQ(back.game.Score, replay.score);
}

// The clock a recorded game reads moves 1/60 s a pass; when the wall clock jumps away from it (a
// stall of seconds), it takes the wall clock again, and the replay keeps that new reading.
TEST(Replay, AStalledClockIsTakenAgainAndPlaysBack) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  RecordedRun run(folder, false);
  StartUp(run.game);
  std::vector<double> seen;
  for (int pass = 1; pass <= 400 && run.games.empty(); ++pass) {
    if (pass == 200) run.backend.clock().Advance(3000);
    run.game.platform.BeginPass();
    // A tap counts in the pass it is made in.
    if (pass == 5) run.backend.TapKey(Key::Space);
    if (pass == 300) run.backend.TapKey(Key::Escape);
    if (run.recorder.Recording()) seen.push_back(run.game.platform.TimeOfDay());
    RunPass(run.game);
  }
  ASSERT_EQ(run.games.size(), 1u);
  const Replay& replay = run.games[0].replay;
  std::vector<int64_t> anchors;
  for (const ReplayEvent& event : replay.events) {
    if (event.kind == ReplayEvent::Kind::Clock) anchors.push_back(event.pass);
  }
  // The game began at pass 6; the jump came before pass 200, the game's 195th.
  EXPECT_EQ(anchors, (std::vector<int64_t>{1, 195}));
  ASSERT_GT(seen.size(), 195u);
  EXPECT_NEAR(seen[1] - seen[0], 1.0 / 60.0, 1e-9);
  EXPECT_GT(seen[194] - seen[193], 2.9);

  PlayedBack back(replay);
  back.Play();
  EXPECT_EQ(back.playback.FirstDifference(), -1);
  EXPECT_TRUE(back.playback.Finished());
}

TEST(Replay, RecordFilesAreNamedForTheirRecord) {
  EXPECT_EQ(RecordReplayName("M1"), "best-survival.replay");
  EXPECT_EQ(RecordReplayName("M2-1"), "best-level-1.replay");
  EXPECT_EQ(RecordReplayName("M2-100"), "best-level-100.replay");
  EXPECT_EQ(RecordReplayName("M2-101"), "");
  EXPECT_EQ(RecordReplayName("M2-../x"), "");
  EXPECT_EQ(RecordReplayName("PASSED"), "");
}

}  // namespace
