// The menu frame as the engine receives it: order, places, angles, opacities and colours.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "render/render.h"
#include "test_support.h"

namespace {

using Words = std::vector<std::string>;

const char* const kFont = "\"files\\\\font_default.dds\"";
const char* const kArrow = "\"files\\\\arrow.dds\"";
const char* const kLogo = "\"files\\\\logo.jpg\"";

float Num(const std::string& word) {
  return std::stof(word);
}
std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

class MenuScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    t.LoadResources();
    t.game.Level = 1;
    t.game.HighestLevel = 1;
    t.game.LogoFade = 100;  // the splash logo is gone unless a test brings it back
    t.game.ExitCaption = "EXIT GAME";
  }

  void Draw() {
    t.ClearTrace();
    DrawMenu(t.game);
  }

  std::vector<Words> Split(std::string_view prefix) const {
    std::vector<Words> out;
    for (const std::string& line : t.Calls(prefix)) out.push_back(test::Words(line));
    return out;
  }
  // The bitmap texts of the frame with this text.
  std::vector<Words> TextsOf(const std::string& text) const {
    std::vector<Words> out;
    for (const Words& w : Split("Engine.DrawBitmapText")) {
      if (w[2] == Quoted(text)) out.push_back(w);
    }
    return out;
  }
  // The chooser arrows: arrow sprites drawn at 24 x 24.
  std::vector<Words> ChooserArrows() const {
    std::vector<Words> out;
    for (const Words& w : Split("Engine.DrawSprite")) {
      if (w[1] == kArrow && w[10] == "24") out.push_back(w);
    }
    return out;
  }

  test::TestGame t;
};

bool IsHighlight(const Words& text) {
  return text[8] == "255" && text[9] == "255" && text[10] == "42";
}
bool IsWhite(const Words& text) {
  return text[8] == "255" && text[9] == "255" && text[10] == "255";
}

TEST_F(MenuScreen, FrameAtClockZeroInOrder) {
  t.game.AnimClock = 0;
  Draw();
  const std::vector<std::string>& lines = t.Lines();
  const std::string font = std::string("Engine.DrawBitmapText ") + kFont + " ";
  const int32_t footer = packColor(150, 255, 255, 255);

  std::vector<std::string> head(lines.begin(), lines.begin() + 7);
  EXPECT_EQ(head, (std::vector<std::string>{
                      "Engine.DrawSprite \"files\\\\mainmenu_background.bmp\" 0 0 640 480 0 100 0 "
                      "0 0 0 -1 -1",
                      "Engine.DrawSprite \"files\\\\menu-gametitle.dds\" 20 25 512 128 0 70 0 0 0 "
                      "0 -1 -1",
                      font + "\"FIRE < GAME KEYS > MOVE\" 185 360 0.5 0 100 0 0 0",
                      font + "\"FIRE < GAME KEYS > MOVE\" 186 361 0.5 0 100 255 255 255",
                      "Engine.SetColor 255 255 255",
                      "Engine.DrawSprite \"files\\\\keys-fire.dds\" 185 380 128 64 0 50 0 0 0 0 -1 "
                      "-1",
                      "Engine.DrawSprite \"files\\\\keys-move.dds\" 315 380 128 64 0 50 0 0 0 0 -1 "
                      "-1",
                  }));
  for (size_t i = 7; i < 7 + 374; ++i) {
    ASSERT_EQ(test::Words(lines[i])[1], kArrow) << "line " << i;
  }
  std::vector<std::string> tail(lines.begin() + 7 + 374, lines.end());
  ASSERT_EQ(tail.size(), 11u);
  EXPECT_EQ(tail[0], font + "\"SURVIVAL\" 140 170 1 0 100 255 255 255");
  EXPECT_EQ(tail[1], font + "\"SURVIVAL\" 140 170 1 0 100 255 255 42");
  EXPECT_EQ(tail[2], font + "\"BEST SCORE\" 385 170 0.5 0 100 255 255 255");
  EXPECT_EQ(tail[3], font + "\"00000\" 410 183 0.5 0 100 255 255 255");
  EXPECT_EQ(tail[4], font + "\"REVIVAL 1\" 140 220 1 0 100 255 255 255");
  EXPECT_EQ(tail[5], font + "\"BEST SCORE\" 385 220 0.5 0 100 255 255 255");
  EXPECT_EQ(tail[6], font + "\"00000\" 410 233 0.5 0 100 255 255 255");
  EXPECT_EQ(tail[7], font + "\"EXIT GAME\" 140 270 1 0 100 255 255 255");

  Words owner = test::Words(tail[8]);
  EXPECT_EQ(Words(owner.begin(), owner.begin() + 6),
            (Words{"Engine.DrawText", "\"smalltext\"", "2", "465", "200", "15"}));
  EXPECT_NE(owner[6].find("SWAYFIRE AUTHORS"), std::string::npos) << owner[6];
  EXPECT_EQ(owner[7], std::to_string(footer));
  EXPECT_EQ(owner[8], "0");
  Words address = test::Words(tail[9]);
  EXPECT_EQ(Words(address.begin(), address.begin() + 6),
            (Words{"Engine.DrawText", "\"smalltext\"", "437", "465", "200", "15"}));
  EXPECT_EQ(address[7], std::to_string(footer));
  EXPECT_EQ(address[8], "2");
  EXPECT_EQ(tail[10], "Engine.EndFrame");  // nothing after the footer without the logo
  EXPECT_EQ(t.Count("Engine.BeginFrame"), 0);
}

TEST_F(MenuScreen, TitleDriftsOnItsCircle) {
  t.game.AnimClock = 0.3f;
  Draw();
  Words title = test::Words(t.Lines()[1]);
  ASSERT_EQ(title[1], "\"files\\\\menu-gametitle.dds\"");
  const double a = 0.3f;
  EXPECT_NEAR(Num(title[2]), 20 + 5 * std::sin(45 * a), 1e-4);
  EXPECT_NEAR(Num(title[3]), 20 + 5 * std::cos(45 * a), 1e-4);
  EXPECT_EQ(title[7], "70");
}

TEST_F(MenuScreen, ArrowFieldCoversTheScreenTurningAndPulsing) {
  t.game.AnimClock = 0.5f;
  Draw();
  std::vector<Words> arrows;
  for (const Words& w : Split("Engine.DrawSprite")) {
    if (w[1] == kArrow) arrows.push_back(w);
  }
  ASSERT_EQ(arrows.size(), 374u);
  const double a = 0.5;
  std::set<int> opacities;
  size_t n = 0;
  for (int i = 0; i <= 21; ++i) {
    for (int j = 0; j <= 16; ++j, ++n) {
      const Words& w = arrows[n];
      EXPECT_EQ(Num(w[2]), 32 * i - 32);
      EXPECT_EQ(Num(w[3]), 32 * j - 32);
      EXPECT_EQ(w[4] + " " + w[5], "32 32");
      EXPECT_NEAR(Num(w[6]), -(a * 1000 + 11 * (i + j)), 1e-3);
      const int opacity = std::stoi(w[7]);
      EXPECT_EQ(opacity, static_cast<int>(std::nearbyint(j / 3.0 * std::sin(40 * a) + 20)));
      opacities.insert(opacity);
      EXPECT_EQ(Words(w.begin() + 8, w.end()), (Words{"0", "0", "0", "0", "16", "0"}));
    }
  }
  // The top row sits at 20, the bottom row pulses furthest (sin 20 is about 0.91).
  EXPECT_EQ(*opacities.begin(), 20);
  EXPECT_EQ(*opacities.rbegin(), 25);
}

TEST_F(MenuScreen, OnlyTheSelectedEntryHasItsHighlightCopy) {
  t.game.AnimClock = 0.1f;
  const double a = 0.1f;
  t.game.Level = 3;
  t.game.HighestLevel = 5;
  const char* entries[] = {"SURVIVAL", "REVIVAL 3", "EXIT GAME"};
  const double white[] = {47, 45, 43};
  const double highlight[] = {7, 5, 3};
  for (int16_t selection = 0; selection <= 2; ++selection) {
    t.game.MenuSelection = selection;
    Draw();
    for (int e = 0; e <= 2; ++e) {
      std::vector<Words> copies = TextsOf(entries[e]);
      ASSERT_EQ(copies.size(), e == selection ? 2u : 1u) << entries[e] << " sel " << selection;
      EXPECT_TRUE(IsWhite(copies[0]));
      EXPECT_NEAR(Num(copies[0][6]), 5 * std::sin(white[e] * a), 1e-4);
      EXPECT_EQ(copies[0][5], "1");
      if (e == selection) {
        EXPECT_TRUE(IsHighlight(copies[1]));
        EXPECT_EQ(copies[1][3] + " " + copies[1][4], copies[0][3] + " " + copies[0][4]);
        EXPECT_NEAR(Num(copies[1][6]), 5 * std::sin(highlight[e] * a), 1e-4);
      }
    }
  }
}

TEST_F(MenuScreen, RecordsInFiveDigitsAndANewRecordShimmers) {
  t.game.BestScore = 350;
  t.game.Level = 4;
  t.game.HighestLevel = 4;
  t.game.LevelBestScores[4] = 123456;
  Draw();
  ASSERT_EQ(TextsOf("00350").size(), 1u);
  EXPECT_EQ(TextsOf("00350")[0][3] + " " + TextsOf("00350")[0][4], "410 183");
  ASSERT_EQ(TextsOf("123456").size(), 1u);
  EXPECT_EQ(TextsOf("123456")[0][3] + " " + TextsOf("123456")[0][4], "410 233");

  for (int frame = 0; frame < 20; ++frame) {
    t.game.NewBestScore = true;
    t.game.NewLevelBest[4] = frame % 2 == 1;
    Draw();
    std::vector<Words> best = TextsOf("00350");
    ASSERT_EQ(best.size(), 2u);
    EXPECT_TRUE(IsWhite(best[0]));
    EXPECT_TRUE(IsHighlight(best[1]));
    EXPECT_GE(Num(best[1][3]), 410.0f);
    EXPECT_LT(Num(best[1][3]), 412.0f);
    EXPECT_EQ(best[1][4], "183");
    std::vector<Words> level = TextsOf("123456");
    ASSERT_EQ(level.size(), frame % 2 == 1 ? 2u : 1u);
    if (level.size() == 2) {
      EXPECT_TRUE(IsHighlight(level[1]));
      EXPECT_GE(Num(level[1][3]), 410.0f);
      EXPECT_LT(Num(level[1][3]), 412.0f);
      EXPECT_EQ(level[1][4], "233");
    }
  }
}

TEST_F(MenuScreen, LastGameLineOnlyAfterAScoredGame) {
  Draw();
  for (const std::string& line : t.Calls("Engine.DrawText")) {
    EXPECT_EQ(line.find("LAST GAME"), std::string::npos) << line;
  }
  t.game.LastScore = 1250;
  Draw();
  std::vector<std::string> texts = t.Calls("Engine.DrawText");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], "Engine.DrawText \"smalltext\" 437 2 200 15 \"LAST GAME: 01250\" " +
                          std::to_string(packColor(200, 255, 255, 255)) + " 2");
}

TEST_F(MenuScreen, ChooserAtTheOnlyLevelShowsARedRightArrow) {
  t.game.MenuSelection = 1;
  Draw();
  std::vector<std::string> colours = t.Calls("Engine.SetColor");
  EXPECT_EQ(colours,
            (std::vector<std::string>{"Engine.SetColor 255 255 255", "Engine.SetColor 20 255 20",
                                      "Engine.SetColor 255 50 50", "Engine.SetColor 255 255 255"}));
  std::vector<Words> arrows = ChooserArrows();
  ASSERT_EQ(arrows.size(), 1u);  // no left arrow at level 1
  EXPECT_EQ(arrows[0][2] + " " + arrows[0][3] + " " + arrows[0][6] + " " + arrows[0][7],
            "336 220 0 100");
  // The red tint comes just before the right arrow, and white is restored right after it.
  const std::vector<std::string>& lines = t.Lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (test::Words(lines[i]) == arrows[0]) {
      EXPECT_EQ(lines[i - 1], "Engine.SetColor 255 50 50");
      EXPECT_EQ(lines[i + 1], "Engine.SetColor 255 255 255");
    }
  }
}

TEST_F(MenuScreen, ChooserIsGreenWhileAHigherLevelCanBeChosen) {
  t.game.MenuSelection = 1;
  t.game.HighestLevel = 5;
  Draw();
  EXPECT_EQ(t.Count("Engine.SetColor 255 50 50"), 0);
  EXPECT_EQ(ChooserArrows().size(), 1u);

  t.game.Level = 3;
  Draw();
  std::vector<Words> arrows = ChooserArrows();
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(arrows[0][2] + " " + arrows[0][3] + " " + arrows[0][6], "295 220 180");
  EXPECT_EQ(arrows[1][2] + " " + arrows[1][3] + " " + arrows[1][6], "336 220 0");
  EXPECT_EQ(t.Count("Engine.SetColor 255 50 50"), 0);

  t.game.Level = 5;
  Draw();
  EXPECT_EQ(ChooserArrows().size(), 2u);
  EXPECT_EQ(t.Count("Engine.SetColor 255 50 50"), 1);
}

TEST_F(MenuScreen, ChooserArrowsBounceAndMakeRoomForTwoDigits) {
  t.game.MenuSelection = 1;
  t.game.HighestLevel = 20;
  t.game.AnimClock = 0.01f;
  const double bounce = 3 * std::sin(199 * static_cast<double>(0.01f));
  for (int16_t level : {9, 10, 12}) {
    t.game.Level = level;
    Draw();
    std::vector<Words> arrows = ChooserArrows();
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_NEAR(Num(arrows[0][2]), 295 + bounce, 1e-4);
    EXPECT_NEAR(Num(arrows[1][2]), 336 + (level > 9 ? 21 : 0) - bounce, 1e-4) << level;
  }
}

TEST_F(MenuScreen, NoChooserOffTheLevelEntry) {
  t.game.HighestLevel = 5;
  t.game.Level = 3;
  for (int16_t selection : {0, 2}) {
    t.game.MenuSelection = selection;
    Draw();
    EXPECT_TRUE(ChooserArrows().empty());
    EXPECT_EQ(t.Count("Engine.SetColor"), 1);
  }
}

TEST_F(MenuScreen, LogoDissolvesOverTheFirstHundredFrames) {
  t.game.LogoFade = 0;
  for (int frame = 1; frame <= 101; ++frame) {
    Draw();
    std::vector<Words> logo;
    for (const Words& w : Split("Engine.DrawSprite")) {
      if (w[1] == kLogo) logo.push_back(w);
    }
    if (frame <= 100) {
      ASSERT_EQ(logo.size(), 1u) << "frame " << frame;
      EXPECT_EQ(std::stoi(logo[0][7]), 100 - frame);
      EXPECT_EQ(Words(logo[0].begin() + 2, logo[0].begin() + 7),
                (Words{"0", "0", "640", "480", "0"}));
      // On top of everything, just before the frame is shown.
      const std::vector<std::string>& lines = t.Lines();
      EXPECT_EQ(test::Words(lines[lines.size() - 2]), logo[0]);
    } else {
      EXPECT_TRUE(logo.empty());
    }
    EXPECT_EQ(t.Lines().back(), "Engine.EndFrame");
    EXPECT_EQ(t.Count("Engine.EndFrame"), 1);
  }
  EXPECT_EQ(t.game.LogoFade, 100.0f);
}

TEST(MenuExitCaption, PickedOnceFromTheClock) {
  const std::set<std::string> captions = {"EXIT GAME",         "GET OUT!", "GO AWAY!",
                                          "EXIT TO REAL LIFE", "BYE BYE",  "LET ME OUT!"};
  auto captionAt = [](double milliseconds) {
    test::TestGame t(false);
    t.backend.clock().Advance(milliseconds);
    DrawMenu(t.game);
    std::string first = t.game.ExitCaption;
    // Later frames at other times keep it.
    for (int i = 0; i < 5; ++i) {
      t.backend.clock().Advance(777);
      DrawMenu(t.game);
      EXPECT_EQ(t.game.ExitCaption, first);
    }
    return first;
  };
  std::set<std::string> seen;
  for (int k = 0; k < 24; ++k) {
    std::string caption = captionAt(k * 3917.0);
    EXPECT_TRUE(captions.count(caption)) << caption;
    EXPECT_EQ(captionAt(k * 3917.0), caption);  // the same clock gives the same caption
    seen.insert(caption);
  }
  // With the generator seeded alike, only the clock can make them differ.
  EXPECT_GE(seen.size(), 3u);
}

TEST_F(MenuScreen, AGivenExitCaptionIsKept) {
  t.game.ExitCaption = "BYE BYE";
  t.game.MenuSelection = 2;
  Draw();
  EXPECT_EQ(TextsOf("BYE BYE").size(), 2u);
  EXPECT_EQ(t.game.ExitCaption, "BYE BYE");
}

}  // namespace
