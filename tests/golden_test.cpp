// The golden replays: whole scripted games must play exactly as their committed traces say.
#include <gtest/gtest.h>

#include "golden/golden.h"

namespace {

const std::filesystem::path kGoldenFolder =
    std::filesystem::path(SWAYFIRE_SOURCE_DIR) / "tests/golden";

class GoldenReplay : public testing::TestWithParam<golden::Replay> {};

TEST_P(GoldenReplay, PlaysExactlyAsRecorded) {
  const golden::Replay& replay = GetParam();
  const auto file = kGoldenFolder / (replay.name + ".golden");
  ASSERT_TRUE(std::filesystem::exists(file)) << file << " is missing: run make golden";
  std::vector<std::string> actual = golden::Record(replay, SWAYFIRE_HEADLESS);
  auto difference = golden::Compare(golden::ReadLines(file), actual);
  if (difference) {
    const auto kept =
        std::filesystem::path(SWAYFIRE_BUILD_DIR) / "tests" / (replay.name + ".golden");
    golden::WriteLines(kept, actual);
    // The folder the run started from, kept for the command that runs it again.
    const auto start =
        std::filesystem::path(SWAYFIRE_BUILD_DIR) / "tests" / ("golden-" + replay.name);
    std::filesystem::remove_all(start);
    golden::PrepareFolder(replay, start);
    FAIL() << golden::Describe(replay, *difference, SWAYFIRE_HEADLESS, start)
           << "\nThe new result is in " << kept;
  }
}

INSTANTIATE_TEST_SUITE_P(, GoldenReplay, testing::ValuesIn(golden::FindReplays(kGoldenFolder)),
                         [](const testing::TestParamInfo<golden::Replay>& info) {
                           std::string name;
                           for (char c : info.param.name)
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

// The comparison itself: the first differing line, the pass it belongs to, how many passes differ.
TEST(GoldenCompare, NamesTheFirstDifferingLineAndItsPass) {
  std::vector<std::string> expected = {"# start-up",
                                       "Engine.Initialize",
                                       "# pass 1 lines 2 digest 00000000000000aa",
                                       "Engine.PlaySound \"enter\" 0 100 0 0",
                                       "# pass 2 lines 1 digest 00000000000000bb",
                                       "# exit status 0"};
  std::vector<std::string> actual = expected;
  EXPECT_FALSE(golden::Compare(expected, actual));

  actual[3] = "Engine.PlaySound \"won\" 0 100 0 0";
  actual[4] = "# pass 2 lines 1 digest 00000000000000cc";
  auto difference = golden::Compare(expected, actual);
  ASSERT_TRUE(difference);
  EXPECT_EQ(difference->line, 4u);
  EXPECT_EQ(difference->pass, "pass 1");
  EXPECT_EQ(difference->expected, expected[3]);
  EXPECT_EQ(difference->actual, actual[3]);
  EXPECT_EQ(difference->passesDiffering, 1);

  actual = expected;
  actual.pop_back();
  difference = golden::Compare(expected, actual);
  ASSERT_TRUE(difference);
  EXPECT_EQ(difference->pass, "exit status 0");
  EXPECT_EQ(difference->actual, "(the end of the file)");
}

TEST(GoldenFold, ListsNotableCallsAndDigestsTheRest) {
  std::vector<std::string> trace = {"Engine.Initialize",
                                    "# pass 1",
                                    "Engine.IsKeyHit 28 -> 0",
                                    "Engine.IsKeyHit 57 -> -1",
                                    "Engine.DrawSprite \"a\" 1 2",
                                    "Engine.EndFrame",
                                    "# pass 2",
                                    "Engine.DrawSprite \"a\" 1 3",
                                    "Engine.EndFrame"};
  std::vector<std::string> folded = golden::Fold(trace);
  ASSERT_EQ(folded.size(), 5u);
  EXPECT_EQ(folded[0], "# start-up");
  EXPECT_EQ(folded[1], "Engine.Initialize");
  EXPECT_EQ(folded[2].substr(0, 22), "# pass 1 lines 4 diges");
  EXPECT_EQ(folded[3], "Engine.IsKeyHit 57 -> -1");
  // A drawing call that moves by a pixel is not listed, yet changes the pass's digest.
  std::vector<std::string> moved = trace;
  moved[7] = "Engine.DrawSprite \"a\" 1 4";
  std::vector<std::string> refolded = golden::Fold(moved);
  EXPECT_EQ(refolded[2], folded[2]);
  EXPECT_NE(refolded[4], folded[4]);
  EXPECT_EQ(refolded[4].substr(0, 16), "# pass 2 lines 2");
}

}  // namespace
