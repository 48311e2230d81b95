// The menu frame as the engine receives it: order, places, angles, opacities and colours.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "render/render.h"
#include "test_support.h"

namespace {

using Glyphs = call::DrawBitmapText;
using Sprite = call::DrawSprite;

const char* const kFont = "\"files\\\\font_default.dds\"";
const char* const kArrow = "files\\arrow.dds";
const char* const kLogo = "files\\logo.jpg";

bool Shows(const Sprite& sprite, const std::string& file) {
  return sprite.texture && sprite.texture->file == file;
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

  // The sprites of the frame with this image.
  std::vector<Sprite> SpritesOf(const std::string& file) const {
    std::vector<Sprite> out;
    for (const Sprite& sprite : CallsOf<Sprite>(t.Records())) {
      if (Shows(sprite, file)) out.push_back(sprite);
    }
    return out;
  }
  // The bitmap texts of the frame with this text.
  std::vector<Glyphs> TextsOf(const std::string& text) const {
    std::vector<Glyphs> out;
    for (const Glyphs& glyphs : CallsOf<Glyphs>(t.Records())) {
      if (glyphs.text == text) out.push_back(glyphs);
    }
    return out;
  }
  // The chooser arrows: arrow sprites drawn at 24 x 24.
  std::vector<Sprite> ChooserArrows() const {
    std::vector<Sprite> out;
    for (const Sprite& arrow : SpritesOf(kArrow)) {
      if (arrow.drawnWidth == 24) out.push_back(arrow);
    }
    return out;
  }

  test::TestGame t;
};

bool IsHighlight(const Glyphs& text) {
  return text.red == 255 && text.green == 255 && text.blue == 42;
}
bool IsWhite(const Glyphs& text) {
  return text.red == 255 && text.green == 255 && text.blue == 255;
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
  const std::vector<Call>& calls = t.Records();
  for (size_t i = 7; i < 7 + 374; ++i) {
    const auto* arrow = std::get_if<Sprite>(&calls[i]);
    ASSERT_TRUE(arrow && Shows(*arrow, kArrow)) << "line " << i;
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

  const auto* owner = std::get_if<call::DrawText>(&calls[7 + 374 + 8]);
  ASSERT_NE(owner, nullptr) << tail[8];
  EXPECT_EQ(owner->font, "smalltext");
  EXPECT_EQ(std::tie(owner->x, owner->y, owner->width, owner->height),
            std::make_tuple(2, 465, 200, 15));
  EXPECT_NE(owner->text.find("SWAYFIRE AUTHORS"), std::string::npos) << owner->text;
  EXPECT_EQ(owner->color, footer);
  EXPECT_EQ(owner->alignment, 0);
  const auto* address = std::get_if<call::DrawText>(&calls[7 + 374 + 9]);
  ASSERT_NE(address, nullptr) << tail[9];
  EXPECT_EQ(address->font, "smalltext");
  EXPECT_EQ(std::tie(address->x, address->y, address->width, address->height),
            std::make_tuple(437, 465, 200, 15));
  EXPECT_EQ(address->color, footer);
  EXPECT_EQ(address->alignment, 2);
  EXPECT_EQ(tail[10], "Engine.EndFrame");  // nothing after the footer without the logo
  EXPECT_EQ(t.Count("Engine.BeginFrame"), 0);
}

TEST_F(MenuScreen, TitleDriftsOnItsCircle) {
  t.game.AnimClock = 0.3f;
  Draw();
  const auto* title = std::get_if<Sprite>(&t.Records()[1]);
  ASSERT_TRUE(title && Shows(*title, "files\\menu-gametitle.dds"));
  const double a = 0.3f;
  EXPECT_NEAR(title->x, 20 + 5 * std::sin(45 * a), 1e-4);
  EXPECT_NEAR(title->y, 20 + 5 * std::cos(45 * a), 1e-4);
  EXPECT_EQ(title->opacity, 70);
}

TEST_F(MenuScreen, ArrowFieldCoversTheScreenTurningAndPulsing) {
  t.game.AnimClock = 0.5f;
  Draw();
  std::vector<Sprite> arrows = SpritesOf(kArrow);
  ASSERT_EQ(arrows.size(), 374u);
  const double a = 0.5;
  std::set<int> opacities;
  size_t n = 0;
  for (int i = 0; i <= 21; ++i) {
    for (int j = 0; j <= 16; ++j, ++n) {
      const Sprite& w = arrows[n];
      EXPECT_EQ(w.x, 32 * i - 32);
      EXPECT_EQ(w.y, 32 * j - 32);
      EXPECT_EQ(std::tie(w.width, w.height), std::make_tuple(32, 32));
      EXPECT_NEAR(w.angle, -(a * 1000 + 11 * (i + j)), 1e-3);
      const int opacity = w.opacity;
      EXPECT_EQ(opacity, static_cast<int>(std::nearbyint(j / 3.0 * std::sin(40 * a) + 20)));
      opacities.insert(opacity);
      EXPECT_EQ(std::tie(w.a, w.b, w.drawnWidth, w.drawnHeight, w.c, w.d),
                std::make_tuple(0, 0, 0, 0, 16, 0));
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
      std::vector<Glyphs> copies = TextsOf(entries[e]);
      ASSERT_EQ(copies.size(), e == selection ? 2u : 1u) << entries[e] << " sel " << selection;
      EXPECT_TRUE(IsWhite(copies[0]));
      EXPECT_NEAR(copies[0].angle, 5 * std::sin(white[e] * a), 1e-4);
      EXPECT_EQ(copies[0].scale, 1);
      if (e == selection) {
        EXPECT_TRUE(IsHighlight(copies[1]));
        EXPECT_EQ(std::tie(copies[1].x, copies[1].y), std::tie(copies[0].x, copies[0].y));
        EXPECT_NEAR(copies[1].angle, 5 * std::sin(highlight[e] * a), 1e-4);
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
  EXPECT_EQ(std::tie(TextsOf("00350")[0].x, TextsOf("00350")[0].y), std::make_tuple(410, 183));
  ASSERT_EQ(TextsOf("123456").size(), 1u);
  EXPECT_EQ(std::tie(TextsOf("123456")[0].x, TextsOf("123456")[0].y), std::make_tuple(410, 233));

  for (int frame = 0; frame < 20; ++frame) {
    t.game.NewBestScore = true;
    t.game.NewLevelBest[4] = frame % 2 == 1;
    Draw();
    std::vector<Glyphs> best = TextsOf("00350");
    ASSERT_EQ(best.size(), 2u);
    EXPECT_TRUE(IsWhite(best[0]));
    EXPECT_TRUE(IsHighlight(best[1]));
    EXPECT_GE(best[1].x, 410.0f);
    EXPECT_LT(best[1].x, 412.0f);
    EXPECT_EQ(best[1].y, 183);
    std::vector<Glyphs> level = TextsOf("123456");
    ASSERT_EQ(level.size(), frame % 2 == 1 ? 2u : 1u);
    if (level.size() == 2) {
      EXPECT_TRUE(IsHighlight(level[1]));
      EXPECT_GE(level[1].x, 410.0f);
      EXPECT_LT(level[1].x, 412.0f);
      EXPECT_EQ(level[1].y, 233);
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
  std::vector<Sprite> arrows = ChooserArrows();
  ASSERT_EQ(arrows.size(), 1u);  // no left arrow at level 1
  const Sprite& right = arrows[0];
  EXPECT_EQ(std::tie(right.x, right.y, right.angle, right.opacity),
            std::make_tuple(336, 220, 0, 100));
  // The red tint comes just before the right arrow, and white is restored right after it.
  const std::vector<Call>& calls = t.Records();
  const std::string arrow = FormatCall(right);
  for (size_t i = 0; i < calls.size(); ++i) {
    if (FormatCall(calls[i]) == arrow) {
      EXPECT_EQ(FormatCall(calls[i - 1]), "Engine.SetColor 255 50 50");
      EXPECT_EQ(FormatCall(calls[i + 1]), "Engine.SetColor 255 255 255");
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
  std::vector<Sprite> arrows = ChooserArrows();
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(std::tie(arrows[0].x, arrows[0].y, arrows[0].angle), std::make_tuple(295, 220, 180));
  EXPECT_EQ(std::tie(arrows[1].x, arrows[1].y, arrows[1].angle), std::make_tuple(336, 220, 0));
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
    std::vector<Sprite> arrows = ChooserArrows();
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_NEAR(arrows[0].x, 295 + bounce, 1e-4);
    EXPECT_NEAR(arrows[1].x, 336 + (level > 9 ? 21 : 0) - bounce, 1e-4) << level;
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
    std::vector<Sprite> logo = SpritesOf(kLogo);
    if (frame <= 100) {
      ASSERT_EQ(logo.size(), 1u) << "frame " << frame;
      EXPECT_EQ(logo[0].opacity, 100 - frame);
      EXPECT_EQ(std::tie(logo[0].x, logo[0].y, logo[0].width, logo[0].height, logo[0].angle),
                std::make_tuple(0, 0, 640, 480, 0));
      // On top of everything, just before the frame is shown.
      const std::vector<Call>& calls = t.Records();
      EXPECT_EQ(FormatCall(calls[calls.size() - 2]), FormatCall(logo[0]));
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
