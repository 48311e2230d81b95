// Every picture and sound of the game, made from code.
#pragma once

#include <vector>

#include "image.h"

// Sprites.
Image MakeShip(int image);   // 10 healthy, 9, 8, 7 more damaged, 0 the burnt-out shell
Image MakeDrone(int image);  // 10 healthy .. 2 badly damaged, 1 a dead wreck
Image MakeGem();
Image MakeArrow();
Image MakeHealthBar();

// Backgrounds and titles.
Image MakeGameBackground();
Image MakeMenuBackground();
Image MakeLogo();
Image MakeTitle();
Image MakeKeysFire();
Image MakeKeysMove();

// Fonts.
Image MakeFontAtlas();
Image MakeBlueFont();
// Advance of a line of text in the atlas at scale 1: ink width + 2 per glyph, 18 for a blank.
int AtlasAdvance(const Image& atlas, const char* text);

// Sounds: mono samples in -1..1 at kSampleRate.
inline constexpr int kSampleRate = 44100;
using Samples = std::vector<float>;
Samples MakeMenuClick();
Samples MakeEnterChime();
Samples MakeHighScoreFanfare();
Samples MakeLevelWonJingle();
Samples MakeFireZap();
Samples MakeBonusPickup();
Samples MakeHit(int variant);  // 1..5
Samples MakeEnemyExplosion();
// Music: interleaved stereo at kSampleRate.
Samples MakeMusic();
