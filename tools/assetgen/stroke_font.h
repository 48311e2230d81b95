// The game's own letters: a bold rounded arcade face drawn from centre-line strokes. The same
// strokes make the menu's font atlas, the neon title, the splash and the key caps.
#pragma once

#include <string>
#include <vector>

struct Segment {
  float ax, ay, bx, by;
};

// Glyph metrics in design units (1 unit = 1 pixel of the font atlas).
inline constexpr float kStrokeRadius = 2.5f;  // half the stroke width
inline constexpr float kCapHeight = 22.0f;    // from the top centre line to the baseline's

// Centre-line segments of a character with its top-left centre line at (x, y), scaled; corners
// are already rounded. Characters without a glyph give no segments.
std::vector<Segment> GlyphSegments(char c, float x, float y, float scale);
// Width between the outermost centre lines (0 for a single vertical stroke).
float GlyphWidth(char c);
// Segments of a line of text; letters are `gap` design units apart, ink to ink.
std::vector<Segment> TextSegments(const std::string& text, float x, float y, float scale,
                                  float gap);
// Width of a line of text in pixels, ink to ink, at the given scale.
float TextWidth(const std::string& text, float scale, float gap);

// Distance from every pixel centre to the nearest segment, up to maxDistance.
std::vector<float> DistanceField(int width, int height, const std::vector<Segment>& segments,
                                 float maxDistance);
