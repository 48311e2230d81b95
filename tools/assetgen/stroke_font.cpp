#include "stroke_font.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace {

constexpr float kCorner = 5.0f;  // default rounding of a corner's centre line

struct Point {
  float x, y;
  float round = -1;  // corner rounding; -1 takes the glyph's default, 0 is a sharp corner
};

struct Stroke {
  std::vector<Point> points;
  bool closed = false;
};

struct Glyph {
  float width = 0;
  std::vector<Stroke> strokes;
  float corner = kCorner;
};

Stroke Open(std::vector<Point> p) {
  return {std::move(p), false};
}
Stroke Closed(std::vector<Point> p) {
  return {std::move(p), true};
}
Stroke Dot(float x, float y) {
  return {{{x, y}}, false};
}

Glyph Mirror(Glyph g) {
  for (auto& s : g.strokes)
    for (auto& p : s.points) p.x = g.width - p.x;
  return g;
}

const std::map<char, Glyph>& Glyphs() {
  static const std::map<char, Glyph> glyphs = [] {
    std::map<char, Glyph> m;
    // Letters: 16-18 units wide (22-23 px of ink), I narrow with serifs.
    m['A'] = {17, {Open({{0, 22}, {0, 0}, {17, 0}, {17, 22}}), Open({{0, 12}, {17, 12}})}};
    m['B'] = {
        17,
        {Open({{0, 11}, {14, 11}, {14, 0}, {0, 0, 0}, {0, 22, 0}, {17, 22}, {17, 11}, {12, 11}})}};
    m['C'] = {17, {Open({{17, 0}, {0, 0}, {0, 22}, {17, 22}})}};
    m['D'] = {17, {Closed({{0, 0, 0}, {17, 0, 9}, {17, 22, 9}, {0, 22, 0}})}};
    m['E'] = {16, {Open({{16, 0}, {0, 0}, {0, 22}, {16, 22}}), Open({{0, 11}, {12, 11}})}};
    m['F'] = {16, {Open({{16, 0}, {0, 0}, {0, 22}}), Open({{0, 11}, {12, 11}})}};
    m['G'] = {17, {Open({{17, 0}, {0, 0}, {0, 22}, {17, 22}, {17, 11, 2}, {9, 11}})}};
    m['H'] = {17, {Open({{0, 0}, {0, 22}}), Open({{17, 0}, {17, 22}}), Open({{0, 11}, {17, 11}})}};
    m['I'] = {8, {Open({{4, 0}, {4, 22}}), Open({{0, 0}, {8, 0}}), Open({{0, 22}, {8, 22}})}};
    m['J'] = {16, {Open({{16, 0}, {16, 22}, {0, 22}, {0, 14}})}};
    m['K'] = {
        17,
        {Open({{0, 0}, {0, 22}}), Open({{17, 0}, {6, 11, 0}, {17, 22}}), Open({{0, 11}, {6, 11}})}};
    m['L'] = {16, {Open({{0, 0}, {0, 22}, {16, 22}})}};
    m['M'] = {20, {Open({{0, 22}, {0, 0, 0}, {10, 13, 0}, {20, 0, 0}, {20, 22}})}};
    m['N'] = {17, {Open({{0, 22}, {0, 0, 0}, {17, 22, 0}, {17, 0}})}};
    m['O'] = {17, {Closed({{0, 0}, {17, 0}, {17, 22}, {0, 22}})}, 6};
    m['P'] = {17, {Open({{0, 22}, {0, 0}, {17, 0}, {17, 12}, {0, 12}})}};
    m['Q'] = {17, {Closed({{0, 0}, {17, 0}, {17, 22}, {0, 22}}), Open({{10, 15}, {18, 24}})}, 6};
    m['R'] = {18, {Open({{0, 22}, {0, 0}, {17, 0}, {17, 12}, {0, 12}}), Open({{9, 12}, {18, 22}})}};
    m['S'] = {17, {Open({{17, 0}, {0, 0}, {0, 11}, {17, 11}, {17, 22}, {0, 22}})}};
    m['T'] = {18, {Open({{0, 0}, {18, 0}}), Open({{9, 0}, {9, 22}})}};
    m['U'] = {17, {Open({{0, 0}, {0, 22}, {17, 22}, {17, 0}})}};
    m['V'] = {18, {Open({{0, 0}, {9, 22, 0}, {18, 0}})}};
    m['W'] = {22, {Open({{0, 0}, {4, 22, 0}, {11, 8, 0}, {18, 22, 0}, {22, 0}})}};
    m['X'] = {17, {Open({{0, 0}, {17, 22}}), Open({{17, 0}, {0, 22}})}};
    m['Y'] = {18, {Open({{0, 0}, {9, 11, 0}, {18, 0}}), Open({{9, 11}, {9, 22}})}};
    m['Z'] = {17, {Open({{0, 0}, {17, 0, 0}, {0, 22, 0}, {17, 22}})}};
    // Digits: 12 units wide, one advance for all (19 px), so scores line up.
    m['0'] = {12, {Closed({{0, 0}, {12, 0}, {12, 22}, {0, 22}}), Open({{4, 15}, {8, 7}})}, 5};
    m['1'] = {12, {Open({{1, 5}, {6, 0, 0}, {6, 22}}), Open({{0, 22}, {12, 22}})}};
    m['2'] = {12, {Open({{0, 0}, {12, 0}, {12, 11}, {0, 11}, {0, 22}, {12, 22}})}, 4};
    m['3'] = {12, {Open({{0, 0}, {12, 0}, {12, 22}, {0, 22}}), Open({{4, 11}, {12, 11}})}, 4};
    m['4'] = {12, {Open({{0, 0}, {0, 13}, {12, 13}}), Open({{12, 0}, {12, 22}})}, 4};
    m['5'] = {12, {Open({{12, 0}, {0, 0}, {0, 10}, {12, 10}, {12, 22}, {0, 22}})}, 4};
    m['6'] = {12, {Open({{12, 0}, {0, 0}, {0, 22}, {12, 22}, {12, 11}, {0, 11}})}, 4};
    m['7'] = {12, {Open({{0, 0}, {12, 0, 0}, {4, 22}})}, 4};
    m['8'] = {12, {Closed({{0, 0}, {12, 0}, {12, 22}, {0, 22}}), Open({{0, 11}, {12, 11}})}, 4};
    m['9'] = {12, {Open({{0, 22}, {12, 22}, {12, 0}, {0, 0}, {0, 11}, {12, 11}})}, 4};
    // Punctuation.
    m['!'] = {0, {Open({{0, 0}, {0, 14}}), Dot(0, 22)}};
    m['"'] = {6, {Open({{0, 0}, {0, 6}}), Open({{6, 0}, {6, 6}})}};
    m['#'] = {16,
              {Open({{5, 0}, {3, 22}}), Open({{13, 0}, {11, 22}}), Open({{0, 7}, {16, 7}}),
               Open({{0, 15}, {16, 15}})}};
    m['$'] = {
        14,
        {Open({{14, 2}, {0, 2}, {0, 11}, {14, 11}, {14, 20}, {0, 20}}), Open({{7, -2}, {7, 24}})},
        4};
    m['%'] = {16, {Open({{16, 0}, {0, 22}}), Dot(1, 2), Dot(15, 20)}};
    m['&'] = {
        17,
        {Open(
            {{17, 22, 0}, {2, 8}, {2, 0}, {11, 0}, {11, 7}, {0, 14}, {0, 22}, {11, 22}, {17, 14}})},
        3};
    m['\''] = {0, {Open({{0, 0}, {0, 6}})}};
    m['('] = {6, {Open({{6, 0}, {0, 0}, {0, 22}, {6, 22}})}, 6};
    m[')'] = Mirror(m['(']);
    m['*'] = {12, {Open({{6, 4}, {6, 18}}), Open({{0, 7}, {12, 15}}), Open({{12, 7}, {0, 15}})}};
    m['+'] = {14, {Open({{7, 4}, {7, 18}}), Open({{0, 11}, {14, 11}})}};
    m[','] = {2, {Open({{2, 19}, {0, 25}})}};
    m['-'] = {12, {Open({{0, 11}, {12, 11}})}};
    m['.'] = {0, {Dot(0, 22)}};
    m['/'] = {12, {Open({{12, 0}, {0, 22}})}};
    m[':'] = {0, {Dot(0, 7), Dot(0, 21)}};
    m[';'] = {2, {Dot(2, 7), Open({{2, 19}, {0, 25}})}};
    m['<'] = {12, {Open({{12, 2}, {0, 11, 0}, {12, 20}})}};
    m['='] = {12, {Open({{0, 7}, {12, 7}}), Open({{0, 15}, {12, 15}})}};
    m['>'] = Mirror(m['<']);
    m['?'] = {12, {Open({{0, 0}, {12, 0}, {12, 10}, {6, 10, 3}, {6, 15}}), Dot(6, 22)}, 4};
    m['@'] = {18,
              {Open({{13, 15}, {18, 15}, {18, 0}, {0, 0}, {0, 22}, {16, 22}}),
               Closed({{6, 6}, {13, 6}, {13, 15}, {6, 15}})},
              3};
    m['['] = {6, {Open({{6, 0}, {0, 0, 0}, {0, 22, 0}, {6, 22}})}};
    m['\\'] = Mirror(m['/']);
    m[']'] = Mirror(m['[']);
    m['^'] = {12, {Open({{0, 8}, {6, 0, 0}, {12, 8}})}};
    m['_'] = {16, {Open({{0, 24}, {16, 24}})}};
    m['`'] = {4, {Open({{0, 0}, {4, 5}})}};
    m['{'] = {6, {Open({{6, 0}, {3, 0}, {3, 9}, {0, 11, 0}, {3, 13}, {3, 22}, {6, 22}})}, 2};
    m['|'] = {0, {Open({{0, -2}, {0, 24}})}};
    m['}'] = Mirror(m['{']);
    m['~'] = {12, {Open({{0, 12}, {4, 9}, {8, 12}, {12, 9}})}, 2};
    return m;
  }();
  return glyphs;
}

const Glyph* Find(char c) {
  const auto& m = Glyphs();
  const auto it = m.find(char(std::toupper(static_cast<unsigned char>(c))));
  return it == m.end() ? nullptr : &it->second;
}

// Replaces each corner by a circular arc of the given radius, tangent to both sides.
std::vector<Point> RoundCorners(const Stroke& s, float defaultRound) {
  const auto& p = s.points;
  const size_t n = p.size();
  if (n < 3 && !s.closed) return p;
  std::vector<Point> out;
  for (size_t i = 0; i < n; ++i) {
    const bool corner = s.closed || (i > 0 && i + 1 < n);
    const float r = p[i].round < 0 ? defaultRound : p[i].round;
    if (!corner || r <= 0) {
      out.push_back(p[i]);
      continue;
    }
    const Point& a = p[(i + n - 1) % n];
    const Point& b = p[i];
    const Point& c = p[(i + 1) % n];
    float ux = a.x - b.x, uy = a.y - b.y, vx = c.x - b.x, vy = c.y - b.y;
    const float lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
    ux /= lu, uy /= lu, vx /= lv, vy /= lv;
    const float angle = std::acos(std::clamp(ux * vx + uy * vy, -1.0f, 1.0f));  // inner angle
    if (angle > 3.1f) {
      out.push_back(b);
      continue;
    }
    // Distance from the corner to the tangent points, limited to half of each side.
    float t = r / std::tan(angle / 2);
    t = std::min({t, lu / 2, lv / 2});
    const float rr = t * std::tan(angle / 2);
    const float p0x = b.x + ux * t, p0y = b.y + uy * t;
    const float p1x = b.x + vx * t, p1y = b.y + vy * t;
    // Centre along the bisector.
    float bx = ux + vx, by = uy + vy;
    const float lb = std::hypot(bx, by);
    bx /= lb, by /= lb;
    const float cd = std::hypot(t, rr);
    const float cx = b.x + bx * cd, cy = b.y + by * cd;
    const float a0 = std::atan2(p0y - cy, p0x - cx);
    float a1 = std::atan2(p1y - cy, p1x - cx);
    float sweep = a1 - a0;
    while (sweep > 3.14159265f) sweep -= 6.2831853f;
    while (sweep < -3.14159265f) sweep += 6.2831853f;
    const int steps = std::max(2, int(std::ceil(std::fabs(sweep) * rr / 1.0f)));
    for (int k = 0; k <= steps; ++k) {
      const float ang = a0 + sweep * float(k) / float(steps);
      out.push_back({cx + rr * std::cos(ang), cy + rr * std::sin(ang), 0});
    }
  }
  return out;
}

}  // namespace

float GlyphWidth(char c) {
  const Glyph* g = Find(c);
  return g ? g->width : 0;
}

std::vector<Segment> GlyphSegments(char c, float x, float y, float scale) {
  std::vector<Segment> out;
  const Glyph* g = Find(c);
  if (!g) return out;
  for (const Stroke& s : g->strokes) {
    const auto pts = RoundCorners(s, g->corner);
    auto add = [&](const Point& a, const Point& b) {
      out.push_back({x + a.x * scale, y + a.y * scale, x + b.x * scale, y + b.y * scale});
    };
    if (pts.size() == 1) add(pts[0], pts[0]);
    for (size_t i = 0; i + 1 < pts.size(); ++i) add(pts[i], pts[i + 1]);
    if (s.closed && pts.size() > 2) add(pts.back(), pts.front());
  }
  return out;
}

float TextWidth(const std::string& text, float scale, float gap) {
  float w = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    w += (text[i] == ' ' ? 12.0f : GlyphWidth(text[i]) + 2 * kStrokeRadius);
    if (i + 1 < text.size()) w += gap;
  }
  return w * scale;
}

std::vector<Segment> TextSegments(const std::string& text, float x, float y, float scale,
                                  float gap) {
  std::vector<Segment> out;
  // x is the left edge of the ink; centre lines start one stroke radius further in.
  float pen = x + kStrokeRadius * scale;
  for (char c : text) {
    if (c == ' ') {
      pen += (12.0f + gap) * scale;
      continue;
    }
    const auto segs = GlyphSegments(c, pen, y, scale);
    out.insert(out.end(), segs.begin(), segs.end());
    pen += (GlyphWidth(c) + 2 * kStrokeRadius + gap) * scale;
  }
  return out;
}

std::vector<float> DistanceField(int width, int height, const std::vector<Segment>& segments,
                                 float maxDistance) {
  std::vector<float> field(size_t(width) * height, maxDistance);
  for (const Segment& s : segments) {
    const int x0 = std::max(0, int(std::floor(std::min(s.ax, s.bx) - maxDistance)));
    const int x1 = std::min(width - 1, int(std::ceil(std::max(s.ax, s.bx) + maxDistance)));
    const int y0 = std::max(0, int(std::floor(std::min(s.ay, s.by) - maxDistance)));
    const int y1 = std::min(height - 1, int(std::ceil(std::max(s.ay, s.by) + maxDistance)));
    const float dx = s.bx - s.ax, dy = s.by - s.ay;
    const float len2 = dx * dx + dy * dy;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const float px = float(x) + 0.5f - s.ax, py = float(y) + 0.5f - s.ay;
        const float h = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
        const float d = std::hypot(px - dx * h, py - dy * h);
        float& f = field[size_t(y) * width + x];
        f = std::min(f, d);
      }
    }
  }
  return field;
}
