// The game screen as the engine receives it: what each frame draws, where, in which order, with
// which image, tint and opacity.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "frame_trace.h"

namespace {

using frame::GameFrame;
using frame::kNeutral;
using frame::SpriteCall;
using frame::Sprites;
using frame::SpritesOf;
using frame::Tint;

constexpr Tint kRed{222, 33, 33};
constexpr Tint kBlue{33, 33, 222};
constexpr Tint kGreen{33, 200, 33};
constexpr Tint kYellow{255, 237, 95};
constexpr Tint kHaloGreen{33, 222, 33};
constexpr Tint kBlack{0, 0, 0};

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The ship is the first sprite from a player image.
SpriteCall Ship(const std::vector<Call>& calls) {
  for (const SpriteCall& sprite : Sprites(calls)) {
    if (StartsWith(sprite.file, "files\\player_")) return sprite;
  }
  ADD_FAILURE() << "no ship drawn";
  return {};
}

// Enemy bodies: 32 x 32 enemy images at their own size (bands are stretched, shots are 8 x 8).
std::vector<SpriteCall> EnemyBodies(const std::vector<Call>& calls) {
  std::vector<SpriteCall> found;
  for (const SpriteCall& sprite : Sprites(calls)) {
    if (StartsWith(sprite.file, "files\\ai_") && sprite.width == 32 && sprite.drawnWidth == 0) {
      found.push_back(sprite);
    }
  }
  return found;
}

std::vector<SpriteCall> Bars(const std::vector<Call>& calls, float height) {
  std::vector<SpriteCall> found;
  for (const SpriteCall& sprite : SpritesOf(calls, "files\\hpbar.dds")) {
    if (sprite.height == height) found.push_back(sprite);
  }
  return found;
}

// A name for every draw of a frame, to check the layers come back to front.
std::vector<std::string> Layers(const std::vector<Call>& calls) {
  std::vector<std::string> layers;
  Tint tint;
  for (const Call& c : calls) {
    if (const auto* color = std::get_if<call::SetColor>(&c)) {
      tint = {color->red, color->green, color->blue};
    } else if (std::holds_alternative<call::DrawSprite>(c)) {
      const SpriteCall s = Sprites({c})[0];
      if (s.file == "files\\background.bmp") layers.push_back("background");
      if (s.file == "files\\bonus.bmp") layers.push_back("bonus");
      if (StartsWith(s.file, "files\\player_"))
        layers.push_back(tint == kHaloGreen ? "halo" : "ship");
      if (s.file == "files\\hpbar.dds" && s.height == 3) {
        layers.push_back(tint == kBlack ? "backing" : "ship bar");
      }
      if (s.file == "files\\hpbar.dds" && s.height == 2) layers.push_back("enemy bar");
      if (StartsWith(s.file, "files\\ai_")) {
        if (s.width == 8) layers.push_back("shot");
        if (s.width == 1) layers.push_back("overlay");
        if (s.width == 32) layers.push_back(s.drawnWidth == 0 ? "enemy" : "band");
      }
    } else if (const auto* text = std::get_if<call::DrawText>(&c)) {
      if (text->font == "smalltext" && text->width == 16) layers.push_back("letter");
      if (text->font == "score") layers.push_back("score text");
      if (text->font == "smalltext" && text->width == 250) layers.push_back("bonus row");
      if (text->font == "smalltext" && text->width == 64) layers.push_back("under ship");
      if (text->font == "xl") layers.push_back("PAUSED");
    } else {
      layers.push_back(std::string(CallName(c)));
    }
  }
  return layers;
}

// Every effect at once: shots of both sides, a bonus item, every timed bonus, paused.
void MakeBusy(Game& game) {
  game.Shots[0] = {true, 100, 50, 0, 0, 0, kPlayerOwner};
  game.Shots[7] = {true, 200, 60, 0, 0, 1, 2};
  for (size_t i = 0; i < game.Enemies.size(); ++i) {
    game.Enemies[i].X = 40.0f * static_cast<float>(i);
    game.Enemies[i].Y = 300;
    game.Enemies[i].Health = 60;
    game.Enemies[i].Fade = 100;
  }
  game.Enemies[1].Infected = true;
  game.BonusVisible = true;
  game.BonusX = 300;
  game.BonusY = 100;
  for (int type : {0, 2, 3, 4, 5, 6, 8, 11}) {
    game.BonusTypes[type].Active = true;
    game.BonusTypes[type].Time = 400;
  }
  game.Paused = true;
}

TEST(GameScreen, OneFrameBeginsOnceEndsOnceAndLeavesTheTintNeutral) {
  GameFrame f;
  MakeBusy(f.game);
  f.Draw();
  const std::vector<std::string> lines = f.Lines();

  EXPECT_EQ(lines.front(), "Engine.BeginFrame 0 0 0");
  EXPECT_EQ(lines.back(), "Engine.EndFrame");
  EXPECT_EQ(f.Count("Engine.BeginFrame"), 1);
  EXPECT_EQ(f.Count("Engine.EndFrame"), 1);
  std::vector<std::string> colours = f.Calls("Engine.SetColor");
  ASSERT_FALSE(colours.empty());
  EXPECT_EQ(colours.back(), "Engine.SetColor 255 255 255");

  // After a tinted sprite the next call that is not another sprite gives the neutral tint back.
  const std::vector<Call>& calls = f.Records();
  Tint tint;
  bool tintedDraw = false;
  for (size_t i = 0; i < calls.size(); ++i) {
    if (std::holds_alternative<call::DrawSprite>(calls[i])) {
      if (tint != kNeutral) tintedDraw = true;
      continue;
    }
    if (tintedDraw) {
      EXPECT_EQ(FormatCall(calls[i]), "Engine.SetColor 255 255 255")
          << "call " << i << " follows a tinted draw";
      tintedDraw = false;
    }
    if (const auto* color = std::get_if<call::SetColor>(&calls[i])) {
      tint = {color->red, color->green, color->blue};
    }
  }
}

TEST(GameScreen, LayersGoFromBackToFront) {
  GameFrame f;  // level 1: enemies 0..5
  MakeBusy(f.game);
  f.game.Enemies.resize(2);  // keep the expected list short
  std::vector<std::string> expected = {"Engine.BeginFrame",
                                       "background",
                                       "background",
                                       "shot",
                                       "shot",
                                       "bonus",
                                       "letter",
                                       "ship",
                                       "halo",
                                       "backing",
                                       "ship bar"};
  for (int i = 0; i < 2; ++i) {
    for (const char* layer : {"enemy", "band", "band", "enemy bar"}) expected.push_back(layer);
  }
  for (const char* layer : {"score text", "score text", "score text"}) expected.push_back(layer);
  for (int row = 0; row < 8; ++row) expected.push_back("bonus row");
  for (const char* layer : {"under ship", "overlay", "PAUSED", "Engine.EndFrame"}) {
    expected.push_back(layer);
  }
  EXPECT_EQ(Layers(f.Draw()), expected);
}

TEST(GameScreen, QuietFrameStillHoldsBackgroundShipBarAndDisplay) {
  GameFrame f(true);  // survival: enemies 0..4, all absent, no shots
  std::vector<std::string> expected = {"Engine.BeginFrame", "background", "background", "ship",
                                       "backing",           "ship bar"};
  for (int i = 0; i < 5; ++i) {
    expected.push_back("enemy");
    expected.push_back("enemy bar");
  }
  for (int i = 0; i < 2; ++i) expected.push_back("score text");
  for (int row = 0; row < 8; ++row) expected.push_back("bonus row");
  expected.push_back("under ship");
  expected.push_back("Engine.EndFrame");
  EXPECT_EQ(Layers(f.Draw()), expected);
  // The absent enemies draw nothing visible.
  for (const SpriteCall& enemy : EnemyBodies(f.Records())) EXPECT_LE(enemy.opacity, 0);
}

TEST(GameScreen, BackgroundTintFollowsTheLevel) {
  struct Case {
    bool survival;
    int16_t level;
    Tint tint;
  };
  for (Case c :
       {Case{false, 1, {255, 120, 120}}, Case{false, 10, {255, 102, 102}},
        Case{false, 61, {255, 0, 0}}, Case{false, 70, {255, -18, -18}}, Case{true, 10, kNeutral}}) {
    GameFrame f(c.survival, c.level);
    const std::vector<Call>& calls = f.Draw();
    std::vector<SpriteCall> layers = SpritesOf(calls, "files\\background.bmp");
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_EQ(layers[0].tint, c.tint) << "level " << c.level;
    EXPECT_EQ(layers[1].tint, c.tint) << "level " << c.level;
    // In survival the background is drawn before any SetColor of the frame.
    EXPECT_EQ(std::holds_alternative<call::SetColor>(calls[1]), !c.survival);
  }
}

TEST(GameScreen, BackgroundSwaysWithTheTimeOfDay) {
  GameFrame f(true);
  for (double later : {0.0, 1500.0, 2000.0}) {
    f.backend.clock().Advance(later);
    const double t = f.backend.platform().TimeOfDay();
    std::vector<SpriteCall> layers = SpritesOf(f.Draw(), "files\\background.bmp");
    ASSERT_EQ(layers.size(), 2u);
    const SpriteCall& back = layers[0];
    EXPECT_EQ(back.x, 0);
    EXPECT_EQ(back.y, 0);
    EXPECT_NEAR(back.width, 640 + 4 * std::cos(t), 1e-3);
    EXPECT_EQ(back.height, 480);
    EXPECT_NEAR(back.angle, -std::sin(t) / 15, 1e-6);
    EXPECT_EQ(back.opacity, 100);
    EXPECT_NEAR(back.drawnWidth, 680 + 19 * std::sin(t), 1e-3);
    EXPECT_NEAR(back.drawnHeight, 499 + 18 * std::cos(t), 1e-3);
    EXPECT_EQ(back.c, -1);
    EXPECT_EQ(back.d, -1);
    const SpriteCall& front = layers[1];
    EXPECT_EQ(front.width, 640);
    EXPECT_EQ(front.height, 480);
    EXPECT_NEAR(front.angle, std::sin(t) / 12, 1e-6);
    EXPECT_EQ(front.opacity, 70);
    EXPECT_NEAR(front.drawnWidth, 650 + 5 * std::sin(t), 1e-3);
    EXPECT_NEAR(front.drawnHeight, 490 + 5 * std::cos(t), 1e-3);
  }
}

TEST(GameScreen, ShipImageFollowsHealth) {
  struct Case {
    float health;
    const char* file;
  };
  for (Case c : {Case{111, "files\\player_10.bmp"}, Case{90, "files\\player_10.bmp"},
                 Case{89.9f, "files\\player_9.bmp"}, Case{50, "files\\player_9.bmp"},
                 Case{49.9f, "files\\player_8.bmp"}, Case{20, "files\\player_8.bmp"},
                 Case{19.9f, "files\\player_7.bmp"}, Case{0.1f, "files\\player_7.bmp"},
                 Case{0, "files\\player_0.bmp"}, Case{-4, "files\\player_0.bmp"}}) {
    GameFrame f;
    f.game.PlayerHealth = c.health;
    f.game.PlayerX = 123.5f;
    f.game.PlayerY = 77;
    f.game.PlayerFade = 50.5f;  // halves go to even
    SpriteCall ship = Ship(f.Draw());
    EXPECT_EQ(ship.file, c.file) << "health " << c.health;
    EXPECT_EQ(std::tie(ship.x, ship.y, ship.width, ship.height, ship.angle, ship.opacity),
              std::make_tuple(123.5f, 77, 32, 32, 0, 50));
    EXPECT_EQ(ship.tint, kNeutral);
  }
}

TEST(GameScreen, PlayerBarIsCappedAtTheShipWidthOnAHalfOpaqueBlackBacking) {
  struct Case {
    float health;
    float width;
  };
  for (Case c :
       {Case{111, 32}, Case{100, 32}, Case{50, 16}, Case{2, 1}, Case{1, 0}, Case{-5, -2}}) {
    GameFrame f;
    f.game.PlayerHealth = c.health;
    f.game.PlayerX = 10;
    f.game.PlayerY = 400;
    f.game.PlayerFade = 51;
    std::vector<SpriteCall> bars = Bars(f.Draw(), 3);
    ASSERT_EQ(bars.size(), 2u);
    const SpriteCall& backing = bars[0];
    EXPECT_EQ(backing.tint, kBlack);
    EXPECT_EQ(backing.x, 10);
    EXPECT_EQ(backing.y, 432);
    EXPECT_EQ(backing.width, 32);
    EXPECT_EQ(backing.opacity, 25);
    const SpriteCall& bar = bars[1];
    EXPECT_EQ(bar.tint, kNeutral);
    EXPECT_EQ(bar.x, 10);
    EXPECT_EQ(bar.y, 432);
    EXPECT_EQ(bar.width, c.width) << "health " << c.health;
    EXPECT_EQ(bar.opacity, 51);
  }
}

TEST(GameScreen, GhostBonusHoldsTheShipAtFortyEvenWhilePaused) {
  GameFrame f;
  f.game.PlayerFade = 100;
  f.game.BonusTypes[Bonus::X] = {true, 300, "X"};
  f.game.Paused = true;
  f.Draw();
  EXPECT_EQ(f.game.PlayerFade, 40);
  EXPECT_EQ(Ship(f.Records()).opacity, 40);
  EXPECT_EQ(Bars(f.Records(), 3)[0].opacity, 20);

  // Once its time has run out, the ship is left alone even if the flag is still set.
  f.game.PlayerFade = 77;
  f.game.BonusTypes[Bonus::X].Time = 0;
  f.Draw();
  EXPECT_EQ(f.game.PlayerFade, 77);
}

TEST(GameScreen, HaloCirclesTheShipWhileTheInfectionBonusLasts) {
  GameFrame f;
  f.game.PlayerX = 200;
  f.game.PlayerY = 100;
  f.game.PlayerFade = 90;
  f.game.AnimClock = 0.02f;
  EXPECT_TRUE(SpritesOf(f.Draw(), "files\\player_0.bmp").empty());

  f.game.BonusTypes[Bonus::J] = {true, 5, "J"};
  std::vector<SpriteCall> halo = SpritesOf(f.Draw(), "files\\player_0.bmp");
  ASSERT_EQ(halo.size(), 1u);
  const double a = 45.0 * 0.02f;
  EXPECT_EQ(halo[0].tint, kHaloGreen);
  EXPECT_NEAR(halo[0].x, 200 + std::sin(a), 1e-4);
  EXPECT_NEAR(halo[0].y, 100 + std::cos(a), 1e-4);
  EXPECT_EQ(halo[0].width, 32);
  EXPECT_EQ(halo[0].opacity, 60);
  EXPECT_NEAR(halo[0].drawnWidth, 32 + 2 * std::sin(a), 1e-4);
  EXPECT_NEAR(halo[0].drawnHeight, 32 - 2 * std::cos(a), 1e-4);
  // Drawn after the ship, before its bar.
  std::vector<SpriteCall> all = Sprites(f.Records());
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i].file == "files\\player_0.bmp") {
      EXPECT_EQ(all[i - 1].file, "files\\player_10.bmp");
      EXPECT_EQ(all[i + 1].tint, kBlack);
    }
  }
}

TEST(GameScreen, EnemyImageFollowsHealth) {
  struct Case {
    float health;
    const char* file;
  };
  for (Case c :
       {Case{250, "files\\ai_10.bmp"}, Case{100.5f, "files\\ai_10.bmp"},
        Case{100, "files\\ai_10.bmp"}, Case{99.99999f, "files\\ai_9.bmp"},
        Case{99, "files\\ai_9.bmp"}, Case{30, "files\\ai_3.bmp"}, Case{29, "files\\ai_2.bmp"},
        Case{0.5f, "files\\ai_2.bmp"}, Case{0, "files\\ai_1.bmp"}, Case{-30, "files\\ai_1.bmp"}}) {
    GameFrame f;
    Enemy& enemy = f.game.Enemies[0];
    enemy.Health = c.health;
    enemy.X = 64;
    enemy.Y = 96.25f;
    enemy.Fade = 2.5f;
    SpriteCall body = EnemyBodies(f.Draw())[0];
    EXPECT_EQ(body.file, c.file) << "health " << c.health;
    EXPECT_EQ(std::tie(body.x, body.y, body.height, body.angle, body.opacity),
              std::make_tuple(64, 96.25f, 32, 0, 2));
  }
}

TEST(GameScreen, EnemyTintsShowSideAndInfection) {
  GameFrame f;  // level 1: enemies 0..5
  std::vector<Enemy>& enemies = f.game.Enemies;
  enemies[1].Infected = true;
  enemies[2].Infected = true;
  enemies[2].Ally = true;
  enemies[3].Ally = true;
  enemies[4].Infected = true;  // the edge runner
  enemies[5].Ally = true;
  enemies[5].Infected = true;
  std::vector<SpriteCall> bodies = EnemyBodies(f.Draw());
  ASSERT_EQ(bodies.size(), 6u);
  EXPECT_EQ(bodies[0].tint, kRed);
  EXPECT_EQ(bodies[1].tint, kGreen);
  EXPECT_EQ(bodies[2].tint, kNeutral);
  EXPECT_EQ(bodies[3].tint, kNeutral);
  EXPECT_EQ(bodies[4].tint, kYellow);
  EXPECT_EQ(bodies[5].tint, kNeutral);

  enemies[4].Ally = true;
  EXPECT_EQ(EnemyBodies(f.Draw())[4].tint, kYellow);
}

TEST(GameScreen, EnemyBarsAreFullyOpaqueWhateverThePresence) {
  GameFrame f;
  std::vector<Enemy>& enemies = f.game.Enemies;
  enemies[0] = Enemy{};
  enemies[0].X = 50;
  enemies[0].Y = 60;
  enemies[0].Health = 50;
  enemies[0].Fade = 3;
  enemies[1].Health = 250;
  enemies[2].Health = -10;
  std::vector<SpriteCall> bars = Bars(f.Draw(), 2);
  ASSERT_EQ(bars.size(), enemies.size());
  EXPECT_EQ(bars[0].x, 50);
  EXPECT_EQ(bars[0].y, 90);
  EXPECT_EQ(bars[0].width, 16);
  EXPECT_EQ(bars[1].width, 32);
  EXPECT_EQ(bars[2].width, -3);
  EXPECT_EQ(bars[3].width, 0);
  for (const SpriteCall& bar : bars) {
    EXPECT_EQ(bar.opacity, 100);
    EXPECT_EQ(bar.tint, kNeutral);
  }
}

TEST(GameScreen, MarkerBonusBandsFollowItsFlagNotItsTime) {
  GameFrame f;
  f.game.Enemies.resize(5);
  f.game.Enemies[1] = Enemy{};
  f.game.Enemies[1].X = 120;
  f.game.Enemies[1].Y = 200;
  f.game.Enemies[1].Fade = 55;
  f.game.Enemies[1].Health = 45;
  f.game.Enemies[2].Fade = 45;

  f.game.BonusTypes[Bonus::A] = {false, 500, "A"};
  const size_t without = Sprites(f.Draw()).size();
  for (const SpriteCall& sprite : Sprites(f.Records())) {
    EXPECT_FALSE(StartsWith(sprite.file, "files\\ai_") && sprite.drawnWidth != 0);
  }

  f.game.BonusTypes[Bonus::A] = {true, 0, "A"};
  std::vector<SpriteCall> sprites = Sprites(f.Draw());
  EXPECT_EQ(sprites.size(), without + 2 * 5);
  std::vector<SpriteCall> bands;
  for (const SpriteCall& sprite : sprites) {
    if (sprite.drawnWidth == 640 || sprite.drawnHeight == 480) {
      if (StartsWith(sprite.file, "files\\ai_")) bands.push_back(sprite);
    }
  }
  ASSERT_EQ(bands.size(), 10u);
  const SpriteCall& across = bands[2];
  EXPECT_EQ(across.file, "files\\ai_4.bmp");
  EXPECT_EQ(across.x, 0);
  EXPECT_EQ(across.y, 200);
  EXPECT_EQ(across.width, 32);
  EXPECT_EQ(across.drawnWidth, 640);
  EXPECT_EQ(across.drawnHeight, 32);
  EXPECT_EQ(across.opacity, 6);  // 5.5 to even
  EXPECT_EQ(across.tint, kRed);
  const SpriteCall& down = bands[3];
  EXPECT_EQ(down.x, 120);
  EXPECT_EQ(down.y, 0);
  EXPECT_EQ(down.drawnWidth, 32);
  EXPECT_EQ(down.drawnHeight, 480);
  EXPECT_EQ(down.opacity, 6);
  EXPECT_EQ(bands[4].opacity, 4);  // 4.5 to even
  EXPECT_EQ(bands[8].tint, kYellow);
}

TEST(GameScreen, ShotsAreBlueOrRedWithAFreshSpinAndGlowEveryFrame) {
  GameFrame f;
  f.game.Shots[3] = {true, 100, 50, 5, 0, 0, kPlayerOwner};
  f.game.Shots[9] = {true, 200.5f, 60, 0, 5, 1, 2};
  f.game.Shots[12] = {false, 300, 70, 0, 0, 1, 2};
  for (int frameNumber = 0; frameNumber < 3; ++frameNumber) {
    Random replay = f.game.Rnd;
    std::vector<SpriteCall> shots;
    for (const SpriteCall& sprite : SpritesOf(f.Draw(), "files\\ai_10.bmp")) {
      if (sprite.width == 8) shots.push_back(sprite);
    }
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_EQ(shots[0].tint, kBlue);
    EXPECT_EQ(shots[0].x, 100);
    EXPECT_EQ(shots[0].y, 50);
    EXPECT_EQ(shots[0].height, 8);
    EXPECT_EQ(shots[1].tint, kRed);
    EXPECT_EQ(shots[1].x, 200.5f);
    for (const SpriteCall& shot : shots) {
      const float r4 = replay.Next();
      const float r5 = replay.Next();
      EXPECT_EQ(shot.angle, std::floor(360.0 * r4));
      EXPECT_EQ(shot.opacity, std::nearbyint(30.0 * r5 + 40));
    }
  }
}

TEST(GameScreen, FlickerBonusChangesOnlyEnemyShots) {
  GameFrame f;
  f.game.Shots[0] = {true, 100, 50, 5, 0, 0, kPlayerOwner};
  f.game.Shots[1] = {true, 200, 60, 0, 5, 1, 2};
  f.game.BonusTypes[Bonus::D] = {true, 10, "D"};
  std::vector<Tint> seen;
  for (int frameNumber = 0; frameNumber < 3; ++frameNumber) {
    Random replay = f.game.Rnd;
    std::vector<SpriteCall> shots = Sprites(f.Draw());
    shots.erase(shots.begin(), shots.begin() + 2);  // the background
    EXPECT_EQ(shots[0].tint, kBlue);
    replay.Next();
    replay.Next();
    const float r1 = replay.Next();
    const float r2 = replay.Next();
    const float r3 = replay.Next();
    const Tint warm{255 - static_cast<int>(std::floor(150.0 * r1)),
                    237 - static_cast<int>(std::floor(50.0 * r2)),
                    95 + static_cast<int>(std::floor(50.0 * r3))};
    EXPECT_EQ(shots[1].tint, warm);
    EXPECT_EQ(shots[1].angle, std::floor(360.0 * replay.Next()));
    // The red of an enemy shot is replaced, not mixed: the SetColor (222, 33, 33) comes first.
    seen.push_back(shots[1].tint);
  }
  EXPECT_NE(seen[0], seen[1]);
  EXPECT_NE(seen[1], seen[2]);

  // Only the time counts: a flag with no time left gives plain red.
  f.game.BonusTypes[Bonus::D].Time = 0;
  EXPECT_EQ(Sprites(f.Draw())[3].tint, kRed);
}

TEST(GameScreen, EveryShotSpinAndGlowStaysInRange) {
  GameFrame f;
  for (Shot& shot : f.game.Shots) shot = {true, 10, 10, 0, 0, 1, 3};
  f.game.BonusTypes[Bonus::D] = {true, 100, "D"};
  for (int frameNumber = 0; frameNumber < 20; ++frameNumber) {
    int shots = 0;
    for (const SpriteCall& sprite : Sprites(f.Draw())) {
      if (sprite.width != 8) continue;
      ++shots;
      EXPECT_GE(sprite.angle, 0);
      EXPECT_LE(sprite.angle, 359);
      EXPECT_EQ(sprite.angle, std::floor(sprite.angle));
      EXPECT_GE(sprite.opacity, 40);
      EXPECT_LE(sprite.opacity, 70);
      EXPECT_GE(sprite.tint.red, 106);
      EXPECT_LE(sprite.tint.green, 237);
      EXPECT_GE(sprite.tint.green, 188);
      EXPECT_GE(sprite.tint.blue, 95);
      EXPECT_LE(sprite.tint.blue, 144);
    }
    EXPECT_EQ(shots, 221);
  }
}

TEST(GameScreen, BonusItemFadesInByOneAndOutByTen) {
  GameFrame f;
  f.game.BonusVisible = true;
  f.game.BonusX = 100;
  f.game.BonusY = 200;
  f.game.BonusType = Bonus::Y;
  f.game.AnimClock = 0.01f;

  std::vector<SpriteCall> item = SpritesOf(f.Draw(), "files\\bonus.bmp");
  ASSERT_EQ(item.size(), 1u);
  EXPECT_EQ(item[0].opacity, 1);
  EXPECT_EQ(f.game.BonusFade, 1);
  EXPECT_EQ(item[0].x, 100);
  EXPECT_EQ(item[0].y, 200);
  EXPECT_EQ(item[0].width, 16);
  EXPECT_EQ(item[0].height, 16);
  EXPECT_NEAR(item[0].angle, 500 * std::sin(50 * 0.01f), 1e-3);
  EXPECT_EQ(item[0].tint, kNeutral);
  frame::TextCall letter = frame::Texts(f.Records())[0];
  EXPECT_EQ(letter.font, "smalltext");
  EXPECT_EQ(letter.text, "Y");
  EXPECT_EQ(letter.x, 100);
  EXPECT_EQ(letter.y, 202);
  EXPECT_EQ(letter.width, 16);
  EXPECT_EQ(letter.height, 16);
  EXPECT_EQ(letter.color, -1);
  EXPECT_EQ(letter.alignment, 1);

  for (int i = 2; i <= 105; ++i) f.Draw();
  EXPECT_EQ(f.game.BonusFade, 100);
  EXPECT_EQ(SpritesOf(f.Records(), "files\\bonus.bmp")[0].opacity, 100);

  // Picked up: drawn nine more times, then gone.
  f.game.BonusVisible = false;
  std::vector<int> opacities;
  for (int i = 0; i < 15; ++i) {
    for (const SpriteCall& sprite : SpritesOf(f.Draw(), "files\\bonus.bmp")) {
      opacities.push_back(sprite.opacity);
    }
  }
  EXPECT_EQ(opacities, (std::vector<int>{90, 80, 70, 60, 50, 40, 30, 20, 10}));
  EXPECT_EQ(f.game.BonusFade, 0);
  EXPECT_EQ(f.Count("Engine.DrawText \"smalltext\" 100 202"), 0);
}

TEST(GameScreen, PausedGameKeepsSwayingSpinningAndFading) {
  GameFrame f;
  f.game.Paused = true;
  f.game.BonusVisible = true;
  f.game.BonusFade = 30;
  f.game.Shots[0] = {true, 100, 50, 5, 0, 1, 2};
  f.game.platform.BeginPass();
  RunPass(f.game);
  EXPECT_EQ(f.game.BonusFade, 31);
  EXPECT_EQ(f.game.Shots[0].X, 100);  // no simulation while paused
  std::vector<SpriteCall> first = Sprites(f.Records());
  f.ClearTrace();
  RunPass(f.game);
  std::vector<SpriteCall> second = Sprites(f.Records());
  EXPECT_EQ(f.game.BonusFade, 32);
  ASSERT_EQ(first.size(), second.size());
  EXPECT_NE(first[0].angle, second[0].angle);  // the background moved with the clock
  EXPECT_TRUE(first[2].angle != second[2].angle || first[2].opacity != second[2].opacity);
  EXPECT_EQ(f.Count("Engine.DrawText \"xl\""), 1);
}

}  // namespace
