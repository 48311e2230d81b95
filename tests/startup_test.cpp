// Start-up, shutdown and the score and options files, through the trace of a whole run.
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/shell.h"
#include "test_support.h"

namespace {

using test::TestGame;

// Runs the real Main over the recording backend for a number of passes.
int RunMain(TestGame& t, int64_t passes, std::vector<ScriptEvent> script = {}) {
  t.backend.SetScript(std::move(script), passes);
  return Main(t.game);
}

size_t IndexOf(const std::vector<std::string>& lines, const std::string& prefix, size_t from = 0) {
  for (size_t i = from; i < lines.size(); ++i) {
    if (lines[i].rfind(prefix, 0) == 0) return i;
  }
  return std::string::npos;
}

TEST(StartUp, CallsTheEngineInTheGivenOrder) {
  TestGame t;
  test::WriteFile(t.folder / "opt.ini", "[OPTIONS]\nFS=False\nSND=True\n");
  ASSERT_EQ(RunMain(t, 1), 0);
  const auto& lines = t.Lines();
  const std::string folder = TraceString(t.folder.str());
  std::vector<std::string> expected = {
      "Utility.ReadIni \"OPTIONS\" \"FS\" " + TraceString(t.folder.str() + "\\opt.ini") +
          " 0 -> \"False\"",
      "Engine.Initialize \"frmMain\" " + folder + " 640 480 0 0 0 -1",
      "Utility.Setup 49",
      "Engine.LoadTexture \"files\\\\logo.jpg\" 0",
      "Engine.DrawSprite \"files\\\\logo.jpg\" 0 0 640 480 0 100 0 0 0 0 -1 -1",
      "Engine.EndFrame",
      "Engine.LoadTexture \"files\\\\Font_Blue.bmp\" 16711935",
      "Engine.LoadTexture \"files\\\\font_default.dds\" 0",
      "Engine.LoadTexture \"files\\\\background.bmp\" 0",
      "Engine.LoadTexture \"files\\\\player_10.bmp\" 0",
      "Engine.LoadTexture \"files\\\\player_9.bmp\" 0",
      "Engine.LoadTexture \"files\\\\player_8.bmp\" 0",
      "Engine.LoadTexture \"files\\\\player_7.bmp\" 0",
      "Engine.LoadTexture \"files\\\\player_0.bmp\" 0",
  };
  ASSERT_GE(lines.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i;

  // Enemy images 1 to 10, then the menu pictures, then fonts, sounds, music, scores.
  size_t ai1 = IndexOf(lines, "Engine.LoadTexture \"files\\\\ai_1.bmp\"");
  size_t ai10 = IndexOf(lines, "Engine.LoadTexture \"files\\\\ai_10.bmp\"");
  size_t hpbar = IndexOf(lines, "Engine.LoadTexture \"files\\\\hpbar.dds\"");
  size_t font = IndexOf(lines, "Engine.CreateFont \"smalltext\" \"Verdana\" 7 0 0");
  size_t snd = IndexOf(lines, "Utility.ReadIni \"OPTIONS\" \"SND\" \"opt.ini\" 0 -> \"True\"");
  size_t music = IndexOf(lines, "MusicPlayer.Load \"files\\\\music.wma\" 0");
  size_t m1 = IndexOf(lines, "Utility.ReadIni \"SCORE\" \"M1\"");
  size_t pass = IndexOf(lines, "# pass 1");
  EXPECT_LT(ai1, ai10);
  EXPECT_LT(ai10, hpbar);
  EXPECT_LT(hpbar, font);
  EXPECT_LT(font, snd);
  EXPECT_LT(snd, music);
  EXPECT_EQ(lines[music + 1], "MusicPlayer.Play -1");
  EXPECT_EQ(lines[music + 2], "MusicPlayer.SetVolume 90");
  EXPECT_LT(music, m1);
  EXPECT_LT(m1, pass);
  EXPECT_EQ(t.Count("Engine.LoadTexture"), 26);
  EXPECT_EQ(t.Count("Engine.CreateFont"), 3);
  EXPECT_EQ(t.backend.platform().Caption(), "swayfire 1.0");
  // Shutdown: the engine last, once.
  EXPECT_EQ(lines.back(), "Engine.Shutdown");
}

TEST(StartUp, FirstRunWritesTheScoreFileLayout) {
  TestGame t;
  ASSERT_EQ(RunMain(t, 1), 0);
  std::string expected = "[SCORE]\nM1=0\n";
  for (int level = 1; level <= 50; ++level) expected += "M2-" + std::to_string(level) + "=0\n";
  EXPECT_EQ(test::ReadFile(t.folder / "files" / "bullet.dds"), expected);
  EXPECT_EQ(t.game.BestScore, 0.0f);
  EXPECT_EQ(t.game.HighestLevel == 0 || t.game.HighestLevel == 1, true);
}

TEST(StartUp, ReadsStoredScoresIncludingLevelsAbove50) {
  TestGame t;
  std::string file = "[SCORE]\nM1=1250\nM2-3=400.75\nM2-75=900\nM2-100=33\n";
  for (int level = 1; level <= 50; ++level) {
    if (level != 3) file += "M2-" + std::to_string(level) + "=0\n";
  }
  file += "[LEVEL]\nPASSED=80\n";
  test::WriteFile(t.folder / "files" / "bullet.dds", file);
  ASSERT_EQ(RunMain(t, 1), 0);
  EXPECT_EQ(t.game.BestScore, 1250.0f);
  EXPECT_EQ(t.game.LevelBestScores[3], 400.0f);  // rounded down
  EXPECT_EQ(t.game.LevelBestScores[75], 900.0f);
  EXPECT_EQ(t.game.LevelBestScores[100], 33.0f);
  // Nothing was missing, so nothing was written.
  EXPECT_EQ(t.Count("Utility.WriteIni"), 0);
  EXPECT_EQ(test::ReadFile(t.folder / "files" / "bullet.dds"), file);
}

TEST(StartUp, ValuesThatAreNotNumbersReadAsZeroAndAreKept) {
  TestGame t;
  test::WriteFile(t.folder / "files" / "bullet.dds",
                  "[SCORE]\nM1=lots\nM2-1=0x20\nM2-2=1e999\nM2-3=nan\nM2-4= 12 \n");
  ASSERT_EQ(RunMain(t, 1), 0);
  EXPECT_EQ(t.game.BestScore, 0.0f);
  EXPECT_EQ(t.game.LevelBestScores[1], 0.0f);
  EXPECT_EQ(t.game.LevelBestScores[2], 0.0f);
  EXPECT_EQ(t.game.LevelBestScores[3], 0.0f);
  EXPECT_EQ(t.game.LevelBestScores[4], 12.0f);
  std::string text = test::ReadFile(t.folder / "files" / "bullet.dds");
  EXPECT_NE(text.find("M1=lots"), std::string::npos) << "a bad value must not be overwritten";
}

TEST(StartUp, FullScreenWhenFsIsTrueInAnyCase) {
  for (const char* value : {"True", "TRUE", "true", "tRuE"}) {
    TestGame t;
    test::WriteFile(t.folder / "opt.ini", std::string("[OPTIONS]\nFS=") + value + "\n");
    ASSERT_EQ(RunMain(t, 1), 0);
    ASSERT_FALSE(t.Calls("Engine.Initialize").empty());
    EXPECT_NE(t.Calls("Engine.Initialize")[0].find(" 640 480 -1 0 0 -1"), std::string::npos)
        << value;
  }
  for (const char* text : {"[OPTIONS]\nFS=yes\n", "[OPTIONS]\nFS=1\n", "[OPTIONS]\n", ""}) {
    TestGame t;
    if (*text) test::WriteFile(t.folder / "opt.ini", text);
    ASSERT_EQ(RunMain(t, 1), 0);
    EXPECT_NE(t.Calls("Engine.Initialize")[0].find(" 640 480 0 0 0 -1"), std::string::npos) << text;
  }
}

TEST(StartUp, SoundOnlyWhenSndIsExactlyTrue) {
  {
    TestGame t;
    test::WriteFile(t.folder / "opt.ini", "[OPTIONS]\nSND=True\n");
    ASSERT_EQ(RunMain(t, 3), 0);
    EXPECT_EQ(t.Count("Engine.LoadSound"), 13);
    EXPECT_EQ(t.Calls("Engine.LoadSound \"fire\"")[0],
              "Engine.LoadSound \"fire\" \"files\\\\fire.wav\"");
    EXPECT_EQ(t.Calls("Engine.LoadSound \"fire2\"")[0],
              "Engine.LoadSound \"fire2\" \"files\\\\fire.wav\"");
    EXPECT_EQ(t.Count("MusicPlayer.Load"), 1);
  }
  for (const char* value : {"true", "TRUE", "", "yes"}) {
    TestGame t;
    test::WriteFile(t.folder / "opt.ini", std::string("[OPTIONS]\nSND=") + value + "\n");
    ASSERT_EQ(RunMain(t, 3), 0) << value;
    EXPECT_EQ(t.Count("Engine.LoadSound"), 0) << value;
    EXPECT_EQ(t.Count("MusicPlayer.Load"), 0) << value;
    // The music check still runs every pass.
    EXPECT_EQ(t.Count("MusicPlayer.GetPosition"), 3);
  }
}

TEST(StartUp, MissingAssetEndsWithAMessageNamingItAndWritesNothing) {
  TestGame t;
  std::filesystem::remove(t.folder / "files" / "ai_7.bmp");
  EXPECT_EQ(RunMain(t, 5), 1);
  EXPECT_NE(t.backend.platform().FatalMessage().find("ai_7.bmp"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(t.folder / "files" / "bullet.dds"));
}

TEST(StartUp, SplashHoldsMoreThanTwoSecondsOfTicks) {
  TestGame t;
  t.game.platform.SetCloseHandler([](int16_t&) {});
  uint32_t before = t.game.platform.GetTickCount();
  LoadSounds(t.game);
  uint32_t waited = t.game.platform.GetTickCount() - before;
  EXPECT_GT(waited, 2000u);
  EXPECT_LT(waited, 2100u);
}

TEST(StartUp, LogoIsShownBeforeTheSlowLoading) {
  TestGame t;
  ASSERT_EQ(RunMain(t, 1), 0);
  const auto& lines = t.Lines();
  size_t endFrame = IndexOf(lines, "Engine.EndFrame");
  size_t font = IndexOf(lines, "Engine.LoadTexture \"files\\\\Font_Blue.bmp\"");
  EXPECT_LT(endFrame, font);
  EXPECT_EQ(IndexOf(lines, "Engine.BeginFrame"), std::string::npos) << "no frame begun first";
}

TEST(Shutdown, CloseRequestEndsTheLoopAfterTheCurrentPass) {
  TestGame t;
  ASSERT_EQ(RunMain(t, 1000, {{7, ScriptEvent::Kind::Close, 0}}), 0);
  EXPECT_EQ(t.Count("# pass"), 7);
  EXPECT_EQ(t.Calls("# pass").back(), "# pass 7");
  EXPECT_TRUE(t.backend.platform().WindowUnloaded());
  EXPECT_EQ(t.Lines().back(), "Engine.Shutdown");
}

TEST(Shutdown, CloseDuringTheSplashEndsCleanlyWithoutTouchingScores) {
  TestGame t;
  ASSERT_EQ(RunMain(t, 1000, {{0, ScriptEvent::Kind::Close, 0}}), 0);
  EXPECT_EQ(t.Count("# pass"), 0);
  EXPECT_FALSE(std::filesystem::exists(t.folder / "files" / "bullet.dds"));
  EXPECT_EQ(t.Lines().back(), "Engine.Shutdown");
}

TEST(Shutdown, CloseHandlerCancelsOnlyWhileRunning) {
  TestGame t;
  t.game.Running = true;
  int16_t cancel = 0;
  Form_Unload(t.game, cancel);
  EXPECT_EQ(cancel, 1);
  EXPECT_FALSE(t.game.Running);
  cancel = 0;
  Form_Unload(t.game, cancel);
  EXPECT_EQ(cancel, 0);
  EXPECT_FALSE(t.game.Running);
}

}  // namespace
