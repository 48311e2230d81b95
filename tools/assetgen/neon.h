// Neon tubes: text or lines drawn as glowing tubes with a white-hot core.
#pragma once

#include <functional>
#include <vector>

#include "image.h"
#include "stroke_font.h"

struct NeonStyle {
  float radius = 3;  // tube radius in pixels
  float glow = 10;   // width of the wide glow
  float glowStrength = 0.55f;
  std::function<Color(float x, float y)> color;  // tube colour at a pixel
};

void DrawNeon(Image& img, const std::vector<Segment>& segments, const NeonStyle& style);
