// Boxes on the field: a position is the top-left corner, in pixels, y growing downwards.
#pragma once

// Two boxes overlap when each one's left edge lies strictly left of the other's right edge and
// each one's top edge strictly above the other's bottom edge, so boxes that only touch do not.
// Every edge is a single-precision sum, rounded to float before it is compared.
struct Box {
  float Left;
  float Top;
  float Right;
  float Bottom;
};

inline Box MakeBox(float x, float y, float w, float h) {
  return {x, y, x + w, y + h};
}

// All four edges are compared every time (no early exit), which keeps tight loops free of
// unpredictable branches.
inline bool BoxesOverlap(const Box& a, const Box& b) {
  return (a.Right > b.Left) & (b.Right > a.Left) & (a.Bottom > b.Top) & (b.Bottom > a.Top);
}

inline bool BoxesOverlap(float ax, float ay, float aw, float ah, float bx, float by, float bw,
                         float bh) {
  return BoxesOverlap(MakeBox(ax, ay, aw, ah), MakeBox(bx, by, bw, bh));
}
