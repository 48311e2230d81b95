// Number rules every part of the game relies on, and the random generator.
#include <gtest/gtest.h>

#include <set>

#include "shell/numbers.h"
#include "shell/random.h"

namespace {

TEST(Numbers, NearestRoundsHalvesToEven) {
  EXPECT_EQ(Nearest(0.5f), 0.0f);
  EXPECT_EQ(Nearest(1.5f), 2.0f);
  EXPECT_EQ(Nearest(2.5f), 2.0f);
  EXPECT_EQ(Nearest(-2.5f), -2.0f);
  EXPECT_EQ(Nearest(7.5f), 8.0f);
  EXPECT_EQ(NearestInt16(32767.6), 32767);
  EXPECT_EQ(FloorInt16(-0.5), -1);
}

TEST(Numbers, SixteenBitConversionsSaturate) {
  EXPECT_EQ(ToInt16(40000.0), 32767);
  EXPECT_EQ(ToInt16(-40000.0), -32768);
  EXPECT_EQ(ToInt16(std::nan("")), 0);
  EXPECT_EQ(ToInt16(113.9), 113);
}

TEST(Numbers, SinglesPrintInTheirShortestForm) {
  EXPECT_EQ(FormatSingle(111.0f), "111");
  EXPECT_EQ(FormatSingle(87.5f), "87.5");
  EXPECT_EQ(FormatSingle(0.0f), "0");
  EXPECT_EQ(FormatSingle(-7.0f), "-7");
  EXPECT_EQ(FormatSingle(0.1f), "0.1");
  EXPECT_EQ(FormatSingle(110.6f), "110.6");
  // At most seven significant digits, as the health reads after many small infections.
  EXPECT_EQ(FormatSingle(1.0f / 3.0f), "0.3333333");
  EXPECT_EQ(FormatSingle(99.98f), "99.98");
  EXPECT_EQ(FormatSingle(32878.0f), "32878");
  EXPECT_EQ(FormatSingle(12345678.0f), "12345680");
  // Round values, and whole values on either side of ten million.
  EXPECT_EQ(FormatSingle(1000.0f), "1000");
  EXPECT_EQ(FormatSingle(-100.0f), "-100");
  EXPECT_EQ(FormatSingle(9999999.0f), "9999999");
  EXPECT_EQ(FormatSingle(10000000.0f), "10000000");
  EXPECT_EQ(FormatSingle(-16777217.0f), "-16777220");
  EXPECT_EQ(FormatSingle(-0.0f), "0");
}

TEST(Numbers, ScoresArePaddedToFiveDigits) {
  EXPECT_EQ(ScoreText(0), "00000");
  EXPECT_EQ(ScoreText(350), "00350");
  EXPECT_EQ(ScoreText(32767), "32767");
  EXPECT_EQ(ScoreText(123456), "123456");
  // Five digits after the sign: a hand-edited negative record is not a digit short.
  EXPECT_EQ(ScoreText(-5), "-00005");
  EXPECT_EQ(ScoreText(-32768), "-32768");
  EXPECT_EQ(ScoreText(-0.4), "00000");
}

TEST(RandomGenerator, StaysWithinZeroAndOneAndRepeatsForOneSeed) {
  Random a(42), b(42);
  for (int i = 0; i < 10000; ++i) {
    float r = a.Next();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    ASSERT_EQ(r, b.Next());
  }
}

TEST(RandomGenerator, TwoReseedsAtTheSameInstantGiveDifferentNumbers) {
  Random rnd(1);
  std::set<float> seen;
  for (int i = 0; i < 50; ++i) {
    rnd.ReseedFromTime(43200.25);
    seen.insert(rnd.Next());
  }
  EXPECT_EQ(seen.size(), 50u);
}

TEST(RandomGenerator, IsRoughlyUniform) {
  Random rnd(7);
  int buckets[10] = {};
  for (int i = 0; i < 100000; ++i) ++buckets[static_cast<int>(rnd.Next() * 10)];
  for (int count : buckets) {
    EXPECT_GT(count, 9500);
    EXPECT_LT(count, 10500);
  }
}

}  // namespace
