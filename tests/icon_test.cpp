// The game's icon, drawn in code for the window and the desktop's icon theme.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/common/icon.h"

namespace {

const uint8_t* At(const std::vector<uint8_t>& pixels, int size, int x, int y) {
  return &pixels[(static_cast<size_t>(y) * size + x) * 4];
}

TEST(Icon, ASquareOfNightSkyWithTransparentRoundedCornersAtEverySize) {
  for (int size : {16, 32, 48, 256}) {
    const std::vector<uint8_t> pixels = DrawIcon(size);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(size * size * 4));
    for (int corner : {0, size - 1}) {
      EXPECT_EQ(At(pixels, size, corner, corner)[3], 0) << size;  // rounded off
      EXPECT_EQ(At(pixels, size, corner, size - 1 - corner)[3], 0) << size;
    }
    const uint8_t* middle = At(pixels, size, size / 2, size / 2);
    EXPECT_EQ(middle[3], 255) << size;
    EXPECT_GT(middle[0] + middle[1] + middle[2], 3 * 150) << size;  // the light hull
    const uint8_t* sky = At(pixels, size, size / 2, size / 12 + 1);
    EXPECT_EQ(sky[3], 255) << size;
    // The ship is symmetric: its left half mirrors its right one.
    int differences = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size / 2; ++x) {
        const uint8_t* left = At(pixels, size, x, y);
        const uint8_t* right = At(pixels, size, size - 1 - x, y);
        if (std::abs(left[3] - right[3]) > 2) ++differences;
      }
    }
    EXPECT_EQ(differences, 0) << size;
  }
  EXPECT_TRUE(DrawIcon(0).empty());
}

}  // namespace
