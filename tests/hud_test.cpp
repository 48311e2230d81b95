// The heads-up display and the pause overlay, as drawn at the end of every game frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_trace.h"

namespace {

using frame::GameFrame;
using frame::kFaintRed;
using frame::kFaintWhite;
using frame::kOpaqueWhite;
using frame::kStrongRed;
using frame::TextCall;
using frame::Texts;
using frame::TextStartingWith;

// The bonus rows: "smalltext" texts in the 250-pixel boxes at the left edge.
std::vector<TextCall> BonusRows(const std::vector<Call>& calls) {
  std::vector<TextCall> rows;
  for (const TextCall& text : Texts(calls)) {
    if (text.font == "smalltext" && text.width == 250) rows.push_back(text);
  }
  return rows;
}

TextCall UnderShip(const std::vector<Call>& calls) {
  for (const TextCall& text : Texts(calls)) {
    if (text.font == "smalltext" && text.width == 64) return text;
  }
  ADD_FAILURE() << "no letters under the ship";
  return {};
}

TEST(Hud, StartOfAGameShowsScoreAndHealthOf111) {
  GameFrame f;
  const std::vector<Call>& calls = f.Draw();
  // Score at the top left and health at the bottom left in opaque white (the ship is far away),
  // the enemies left at the top right in strong red.
  EXPECT_EQ(FormatCall(TextStartingWith(calls, "SCORE: ")),
            "Engine.DrawText \"score\" 4 2 150 30 \"SCORE: 111\" -1 0");
  EXPECT_EQ(FormatCall(TextStartingWith(calls, "HEALTH: ")),
            "Engine.DrawText \"score\" 4 456 150 30 \"HEALTH: 111\" -1 0");
  EXPECT_EQ(FormatCall(TextStartingWith(calls, "6 ")),
            "Engine.DrawText \"score\" 4 2 630 30 \"6 ENEMIES LEFT\" " +
                std::to_string(kStrongRed) + " 2");
}

TEST(Hud, ScoreIncludesHealthInShortestSinglePrecisionForm) {
  GameFrame f;
  f.game.Score = 350;
  f.game.PlayerHealth = 87.5f;
  f.Draw();
  EXPECT_EQ(TextStartingWith(f.Records(), "SCORE: ").text, "SCORE: 437.5");
  EXPECT_EQ(TextStartingWith(f.Records(), "HEALTH: ").text, "HEALTH: 87.5");

  f.game.Score = 0;
  f.game.PlayerHealth = 0.1f;
  f.Draw();
  EXPECT_EQ(TextStartingWith(f.Records(), "SCORE: ").text, "SCORE: 0.1");

  f.game.Score = 32000;
  f.game.PlayerHealth = -4;
  f.game.EnemiesLeft = 0;
  f.Draw();
  EXPECT_EQ(TextStartingWith(f.Records(), "SCORE: ").text, "SCORE: 31996");
  EXPECT_EQ(TextStartingWith(f.Records(), "HEALTH: ").text, "HEALTH: -4");
  EXPECT_EQ(TextStartingWith(f.Records(), "0 ").text, "0 ENEMIES LEFT");
}

TEST(Hud, TextsFadeWhileTheShipIsUnderThem) {
  struct Case {
    float x, y;
    const char* prefix;
    int32_t color;
  };
  for (Case c :
       {Case{100, 20, "SCORE: ", kFaintWhite}, Case{150, 20, "SCORE: ", kOpaqueWhite},
        Case{100, 35, "SCORE: ", kOpaqueWhite}, Case{149.9f, 34.9f, "SCORE: ", kFaintWhite},
        Case{100, 421, "HEALTH: ", kFaintWhite}, Case{100, 420, "HEALTH: ", kOpaqueWhite},
        Case{150, 421, "HEALTH: ", kOpaqueWhite}, Case{401, 49, "6 ", kFaintRed},
        Case{400, 49, "6 ", kStrongRed}, Case{401, 50, "6 ", kStrongRed}}) {
    GameFrame f;
    f.game.PlayerX = c.x;
    f.game.PlayerY = c.y;
    EXPECT_EQ(TextStartingWith(f.Draw(), c.prefix).color, c.color)
        << c.prefix << " with the ship at " << c.x << ", " << c.y;
  }
}

TEST(Hud, SurvivalShowsNoEnemiesLeft) {
  GameFrame f(true);
  for (const TextCall& text : Texts(f.Draw())) {
    EXPECT_EQ(text.text.find("ENEMIES LEFT"), std::string::npos);
  }
  EXPECT_EQ(Texts(f.Records()).size(), 2u + 8u + 1u);
}

TEST(Hud, BonusRowsShowOneBarPerFiftyPasses) {
  GameFrame f;
  f.game.BonusTypes[Bonus::A].Time = 750;
  f.game.BonusTypes[Bonus::C].Time = 749;
  f.game.BonusTypes[Bonus::D].Time = 50;
  f.game.BonusTypes[Bonus::E].Time = 49;
  f.game.BonusTypes[Bonus::F].Time = 0;
  f.game.BonusTypes[Bonus::G].Time = -3;
  f.game.BonusTypes[Bonus::X].Time = 149.5f;  // to even: 150
  f.game.BonusTypes[Bonus::J].Time = 150.5f;
  std::vector<TextCall> rows = BonusRows(f.Draw());
  ASSERT_EQ(rows.size(), 8u);
  const std::vector<std::string> expected = {"A " + std::string(15, '|'),
                                             "C " + std::string(14, '|'),
                                             "D |",
                                             "E ",
                                             "F ",
                                             "G ",
                                             "X |||",
                                             "J |||"};
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].text, expected[i]);
    EXPECT_EQ(rows[i].x, 3);
    EXPECT_EQ(rows[i].y, 25.0f + 15.0f * static_cast<float>(i));
    EXPECT_EQ(rows[i].height, 15);
    EXPECT_EQ(rows[i].color, kOpaqueWhite);
    EXPECT_EQ(rows[i].alignment, 0);
  }
}

TEST(Hud, BonusesWithoutTimeHaveNoRow) {
  GameFrame f;
  for (int type : {1, 7, 9, 10})
    f.game.BonusTypes[type] = {true, 900, f.game.BonusTypes[type].Letter};
  for (const TextCall& row : BonusRows(f.Draw())) EXPECT_EQ(row.text.size(), 2u) << row.text;
  EXPECT_EQ(UnderShip(f.Records()).text, "");
}

TEST(Hud, LettersUnderTheShipFollowTheRowOrder) {
  GameFrame f;
  f.game.PlayerX = 200;
  f.game.PlayerY = 300.5f;
  TextCall under = UnderShip(f.Draw());
  EXPECT_EQ(under.text, "");  // drawn even when empty
  EXPECT_EQ(under.x, 184);
  EXPECT_EQ(under.y, 333.5f);
  EXPECT_EQ(under.height, 15);
  EXPECT_EQ(under.color, kOpaqueWhite);
  EXPECT_EQ(under.alignment, 1);

  f.game.BonusTypes[Bonus::J].Time = 1;
  f.game.BonusTypes[Bonus::A].Time = 0.5f;
  f.game.BonusTypes[Bonus::D].Time = 600;
  EXPECT_EQ(UnderShip(f.Draw()).text, "A D J ");

  f.game.BonusTypes = std::vector<BonusState>(12);
  f.game.BonusTypes[Bonus::X].Time = 20;
  f.game.BonusTypes[Bonus::G].Time = 20;
  EXPECT_EQ(UnderShip(f.Draw()).text, "G X ");

  // Drawn after every row.
  std::vector<TextCall> texts = Texts(f.Records());
  EXPECT_EQ(texts.back().width, 64);
}

TEST(Hud, BarStringRepeatsTheBar) {
  EXPECT_EQ(BarString(0), "");
  EXPECT_EQ(BarString(-3), "");
  EXPECT_EQ(BarString(3), "|||");
  EXPECT_EQ(BarString(1), "|");
  EXPECT_EQ(BarString(40).size(), 40u);
  EXPECT_EQ(BarString(-32768), "");
}

TEST(Hud, PauseOverlayAndCaptionCoverTheDisplay) {
  GameFrame f;
  const std::vector<Call> running = f.Draw();
  EXPECT_EQ(f.Count("Engine.DrawText \"xl\""), 0);

  f.game.Paused = true;
  const std::vector<Call> calls = f.Draw();
  const std::vector<std::string> lines = f.Lines();
  ASSERT_GE(lines.size(), 5u);
  const size_t n = lines.size();
  EXPECT_EQ(lines[n - 5], "Engine.SetColor 155 155 255");
  EXPECT_EQ(lines[n - 4],
            "Engine.DrawSprite \"files\\\\ai_10.bmp\" 0 0 1 1 0 50 0 0 640 480 -1 -1");
  EXPECT_EQ(lines[n - 3], "Engine.SetColor 255 255 255");
  EXPECT_EQ(lines[n - 2], "Engine.DrawText \"xl\" 0 180 640 200 \"PAUSED\" -1 1");
  EXPECT_EQ(lines[n - 1], "Engine.EndFrame");
  // The score, health and rows of the running frame are all still drawn, under the overlay.
  std::vector<TextCall> before = Texts(running);
  std::vector<TextCall> after = Texts(calls);
  ASSERT_EQ(after.size(), before.size() + 1);
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i].text, before[i].text);
}

}  // namespace
