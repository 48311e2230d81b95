// Number rules every part of the game relies on, and the random generator.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "core/numbers.h"
#include "core/random.h"

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
  const std::pair<float, const char*> cases[] = {
      {111.0f, "111"},
      {87.5f, "87.5"},
      {0.0f, "0"},
      {-7.0f, "-7"},
      {0.1f, "0.1"},
      {110.6f, "110.6"},
      // At most seven significant digits, as the health reads after many small infections.
      {1.0f / 3.0f, "0.3333333"},
      {99.98f, "99.98"},
      {32878.0f, "32878"},
      {12345678.0f, "12345680"},
      // Round values, and whole values on either side of ten million.
      {1000.0f, "1000"},
      {-100.0f, "-100"},
      {9999999.0f, "9999999"},
      {10000000.0f, "10000000"},
      {-16777217.0f, "-16777220"},
      {-0.0f, "0"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatSingle(value), text) << value;
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
