// Boxes on the field: a position is the top-left corner, in pixels, y growing downwards.
#pragma once

// Two boxes overlap when each one's left edge lies strictly left of the other's right edge and
// each one's top edge strictly above the other's bottom edge, so boxes that only touch do not.
// Every edge is a single-precision sum, rounded to float before it is compared.
inline bool BoxesOverlap(float ax, float ay, float aw, float ah, float bx, float by, float bw,
                         float bh) {
  const float aRight = ax + aw;
  const float bRight = bx + bw;
  const float aBottom = ay + ah;
  const float bBottom = by + bh;
  return aRight > bx && bRight > ax && aBottom > by && bBottom > ay;
}
