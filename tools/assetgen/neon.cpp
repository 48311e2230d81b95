#include "neon.h"

#include <algorithm>
#include <cmath>

void DrawNeon(Image& img, const std::vector<Segment>& segments, const NeonStyle& style) {
  const float reach = style.radius + style.glow * 4;
  const auto field = DistanceField(img.Width(), img.Height(), segments, reach);
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x) {
      const float d = field[size_t(y) * img.Width() + x];
      if (d >= reach) continue;
      const Color c = style.color(float(x) + 0.5f, float(y) + 0.5f);
      const float outside = std::max(0.0f, d - style.radius);
      // Two glows: a tight bright one and a wide soft one.
      const float glow = std::min(1.0f, 0.8f * std::exp(-outside / (style.glow * 0.25f)) +
                                            style.glowStrength * std::exp(-outside / style.glow));
      img.Blend(x, y, c, glow);
      const float tube = std::clamp(style.radius + 0.5f - d, 0.0f, 1.0f);
      if (tube > 0) {
        const float core = 1 - std::clamp(d / style.radius, 0.0f, 1.0f);
        const Color hot = Mix(Mix(c, Color{1, 1, 1}, 0.35f), Color{1, 1, 1}, core * core);
        img.Blend(x, y, hot, tube);
      }
    }
  }
}
