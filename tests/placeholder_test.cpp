#include <gtest/gtest.h>

#include "shell/numbers.h"

TEST(Numbers, NearestRoundsHalvesToEven) {
  EXPECT_EQ(Nearest(0.5f), 0.0f);
  EXPECT_EQ(Nearest(1.5f), 2.0f);
  EXPECT_EQ(Nearest(2.5f), 2.0f);
}
