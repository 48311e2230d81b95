// One pass of the main loop: the clocks, the music check, and new games.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "shell/shell.h"
#include "test_support.h"

namespace {

using test::TestGame;

// A game mode that is neither the menu nor a game runs only the clocks and the music check.
void IdlePass(TestGame& t) {
  t.game.GameMode = "idle";
  t.game.platform.BeginPass();
  RunPass(t.game);
}

TEST(Clocks, AnimClockGrowsByAThousandthAndWrapsAbove360) {
  TestGame t;
  IdlePass(t);
  EXPECT_FLOAT_EQ(t.game.AnimClock, 0.001f);
  t.game.AnimClock = 359.998f;
  IdlePass(t);
  EXPECT_GT(t.game.AnimClock, 359.998f);
  t.game.AnimClock = 360.0f;
  IdlePass(t);
  EXPECT_EQ(t.game.AnimClock, 0.0f);
}

TEST(Clocks, SurvivalClockFirstReaches15OnThe750thPass) {
  TestGame t;
  for (int pass = 1; pass <= 749; ++pass) IdlePass(t);
  EXPECT_EQ(std::floor(t.game.SurvivalClock), 14.0f);
  IdlePass(t);
  EXPECT_EQ(std::floor(t.game.SurvivalClock), 15.0f);
  // After a reset to 1, 15 comes again on the 700th pass and lasts 50 passes.
  t.game.SurvivalClock = 1;
  int first = 0;
  int last = 0;
  for (int pass = 1; pass <= 760; ++pass) {
    IdlePass(t);
    if (std::floor(t.game.SurvivalClock) == 15.0f) {
      if (first == 0) first = pass;
      last = pass;
    }
  }
  EXPECT_EQ(first, 700);
  EXPECT_EQ(last, 749);
}

// A real one-second WAV file: the recording player reads its length from the header.
std::string OneSecondWav() {
  auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
  const uint32_t rate = 8000;
  std::string data(rate * 2, '\0');
  return "RIFF" + u32(36 + static_cast<uint32_t>(data.size())) + "WAVEfmt " + u32(16) + u16(1) +
         u16(1) + u32(rate) + u32(rate * 2) + u16(2) + u16(16) + "data" +
         u32(static_cast<uint32_t>(data.size())) + data;
}

TEST(MusicCheck, TheTrackStartsAgainWhenItHasPlayedToItsEnd) {
  TestGame t;
  // The .ogg placeholder would be found before the .wav.
  std::filesystem::remove(t.folder / "files" / "music.ogg");
  test::WriteFile(t.folder / "files" / "music.wav", OneSecondWav());
  t.game.musicPlayer.Load("files\\music.wma", 0);
  t.game.musicPlayer.Play(-1);
  // What the player hears: where in the track the music is after each frame of 1000/60 ms.
  std::vector<int32_t> heard;
  for (int pass = 1; pass <= 130; ++pass) {
    IdlePass(t);
    t.game.engine.EndFrame();
    heard.push_back(t.game.musicPlayer.GetPosition());
  }
  // The second plays through, twice, each time from its very beginning again, and the music is
  // never silent for more than the one frame in which its end is noticed.
  std::vector<size_t> starts;
  for (size_t i = 1; i < heard.size(); ++i) {
    if (heard[i] < heard[i - 1]) {
      starts.push_back(i);
      EXPECT_LE(heard[i], 17) << "frame " << i;
      EXPECT_EQ(heard[i - 1], 1000) << "it played to its end first";
    } else {
      EXPECT_LT(heard[i] - heard[i - 1], 18) << "frame " << i;
    }
  }
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_NEAR(static_cast<double>(starts[0]), 61, 1);  // 60 frames make the second
  EXPECT_EQ(std::count(heard.begin(), heard.end(), 1000), 2);
}

// The game's own music is Ogg Vorbis: its length comes from the stream, not a stand-in, so the
// track restarts when it has really played to its end (32 seconds).
TEST(MusicCheck, OggTrackLengthIsReadFromTheFile) {
  TestGame t;
  const std::string ogg = test::ReadFile(std::string(SWAYFIRE_BUILD_DIR) + "/files/music.ogg");
  ASSERT_FALSE(ogg.empty());
  test::WriteFile(t.folder / "files" / "music.ogg", ogg);
  t.game.musicPlayer.Load("files\\music.wma", 0);
  t.game.musicPlayer.Play(-1);
  IdlePass(t);
  EXPECT_EQ(t.Count("MusicPlayer.GetLength -> 32000"), 1);
  // A file cut inside its first page still loads, with the stand-in length of 30 seconds.
  test::WriteFile(t.folder / "files" / "music.ogg", ogg.substr(0, 40));
  t.game.musicPlayer.Load("files\\music.wma", 0);
  IdlePass(t);
  EXPECT_EQ(t.Count("MusicPlayer.GetLength -> 30000"), 1);
}

TEST(NewGame, SurvivalGameHasFiveSlotsAndOneSpawnLeft) {
  TestGame t;
  t.game.SurvivalMode = true;
  t.game.Level = 37;
  NewGame(t.game);
  EXPECT_EQ(t.game.GameMode, "game");
  EXPECT_EQ(t.game.EnemyMax, 4);
  EXPECT_EQ(t.game.Enemies.size(), 5u);
  EXPECT_EQ(t.game.EnemiesLeft, 1);
  EXPECT_EQ(t.Calls("MusicPlayer.SetVolume"), std::vector<std::string>{"MusicPlayer.SetVolume 83"});
  EXPECT_EQ(t.game.PlayerX, 320.0f);
  EXPECT_EQ(t.game.PlayerY, 240.0f);
  EXPECT_EQ(t.game.PlayerSpeed, 3.0f);
  EXPECT_EQ(t.game.PlayerHealth, 111.0f);
  EXPECT_EQ(t.game.PlayerFade, 1.0f);
  EXPECT_EQ(t.game.Shots.size(), 221u);
  ASSERT_EQ(t.game.BonusTypes.size(), 12u);
  std::string letters;
  for (const BonusState& b : t.game.BonusTypes) {
    letters += b.Letter;
    EXPECT_FALSE(b.Active);
    EXPECT_EQ(b.Time, 0.0f);
  }
  EXPECT_EQ(letters, "ABCDEFXYGHIJ");
}

TEST(NewGame, LevelGameSlotsAndSpawnsGrowWithTheLevel) {
  TestGame t;
  t.game.SurvivalMode = false;
  t.game.Level = 1;
  NewGame(t.game);
  EXPECT_EQ(t.game.Enemies.size(), 6u);
  EXPECT_EQ(t.game.EnemiesLeft, 6);
  t.game.Level = 10;
  NewGame(t.game);
  EXPECT_EQ(t.game.EnemyMax, 14);
  EXPECT_EQ(t.game.Enemies.size(), 15u);
  EXPECT_EQ(t.game.EnemiesLeft, 24);
}

TEST(NewGame, SecondGameClearsTheFirstButKeepsBonusPlaceAndClocks) {
  TestGame t;
  t.game.SurvivalMode = true;
  NewGame(t.game);
  t.game.Shots[7].Active = true;
  t.game.Enemies[2].Fade = 50;
  t.game.BonusTypes[Bonus::D].Time = 99;
  t.game.BonusTypes[Bonus::D].Active = true;
  t.game.Score = 500;
  t.game.Paused = true;
  t.game.BonusX = 123;
  t.game.BonusY = 77;
  t.game.AnimClock = 12.5f;
  t.game.SurvivalClock = 9;
  t.game.BonusVisible = true;
  t.game.BonusFade = 60;
  t.game.LastScore = 321;
  t.game.NewBestScore = true;
  t.game.NewLevelBest[4] = true;
  t.game.MenuSelection = 1;
  t.game.BestScore = 900;
  NewGame(t.game);
  EXPECT_FALSE(t.game.Shots[7].Active);
  EXPECT_EQ(t.game.Enemies[2].Fade, 0.0f);
  EXPECT_EQ(t.game.BonusTypes[Bonus::D].Time, 0.0f);
  EXPECT_FALSE(t.game.BonusTypes[Bonus::D].Active);
  EXPECT_EQ(t.game.Score, 0);
  EXPECT_FALSE(t.game.Paused);
  EXPECT_FALSE(t.game.BonusVisible);
  EXPECT_EQ(t.game.BonusFade, 0.0f);
  EXPECT_EQ(t.game.LastScore, 0.0f);
  EXPECT_FALSE(t.game.NewBestScore);
  EXPECT_FALSE(t.game.NewLevelBest[4]);
  EXPECT_EQ(t.game.SurvivalClock, 0.0f);
  EXPECT_EQ(t.game.BonusX, 123.0f);
  EXPECT_EQ(t.game.BonusY, 77.0f);
  EXPECT_EQ(t.game.AnimClock, 12.5f);
  EXPECT_EQ(t.game.MenuSelection, 1);
  EXPECT_EQ(t.game.BestScore, 900.0f);
}

TEST(ScoreValues, ParsingAndLevelCap) {
  EXPECT_EQ(ParseScore("1250"), 1250.0);
  EXPECT_EQ(ParseScore("-7"), -7.0);
  EXPECT_EQ(ParseScore(""), 0.0);
  EXPECT_EQ(ParseScore("12abc"), 0.0);
  EXPECT_EQ(ParseScore("inf"), 0.0);
  EXPECT_EQ(ParsePassed(""), 1);
  EXPECT_EQ(ParsePassed("junk"), 1);
  EXPECT_EQ(ParsePassed("0"), 1);
  EXPECT_EQ(ParsePassed("7"), 7);
  EXPECT_EQ(ParsePassed("100"), 100);
  EXPECT_EQ(ParsePassed("5000"), 100);
  // A fraction goes to the nearest level, halves to the even one.
  EXPECT_EQ(ParsePassed("2.7"), 3);
  EXPECT_EQ(ParsePassed("2.5"), 2);
  EXPECT_EQ(ParsePassed("3.5"), 4);
  EXPECT_EQ(ParsePassed("0.7"), 1);
  EXPECT_EQ(ParsePassed("100.6"), 100);
  EXPECT_EQ(NextHighestLevel(99), 100);
  EXPECT_EQ(NextHighestLevel(100), 100);
  EXPECT_EQ(LevelKey(7), "M2-7");
}

}  // namespace
