// Every committed fuzz input, the seeds (fuzz/corpus/<target>) and the inputs that once broke a
// reader (fuzz/crashes/<target>), goes through the same checks as in the fuzz targets, so that
// `make test` keeps them fixed without clang or libFuzzer. (The DDS inputs are replayed by
// dds_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../fuzz/ini_checks.h"
#include "../fuzz/input_script_checks.h"
#include "../fuzz/replay_checks.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// The committed inputs of one fuzz target, in name order.
std::vector<fs::path> Inputs(const std::string& target) {
  std::vector<fs::path> files;
  for (const char* kind : {"corpus", "crashes"}) {
    fs::path folder = fs::path(SWAYFIRE_SOURCE_DIR) / "fuzz" / kind / target;
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Bytes(const fs::path& file) {
  return test::ReadFile(file);
}

TEST(FuzzRegression, IniInputsKeepEveryRoundTripProperty) {
  std::vector<fs::path> files = Inputs("ini");
  ASSERT_GE(files.size(), 10u) << "the INI seed corpus is missing";
  for (const fs::path& file : files) {
    std::string data = Bytes(file);
    auto input =
        fuzzcheck::SplitIniInput(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    EXPECT_EQ(fuzzcheck::CheckIniRoundTrip(input), "") << file;
  }
}

TEST(FuzzRegression, InputScriptInputsReadOrAreRefusedCleanly) {
  std::vector<fs::path> files = Inputs("input_script");
  ASSERT_GE(files.size(), 4u) << "the input-script seed corpus is missing";
  for (const fs::path& file : files) {
    EXPECT_EQ(fuzzcheck::CheckInputScript(Bytes(file)), "") << file;
  }
}

// The checks themselves must be able to fail, or the corpus above proves nothing.
TEST(FuzzRegression, TheChecksCatchALostKeyAndAWrongReadBack) {
  // A plain reading finds M2-1 after the damaged line; a reader that lost it would be caught.
  auto entries = fuzzcheck::PlainEntries("[SCORE]\nM1=5\x00junk\n[LEVEL\nM2-1=300\n"s);
  EXPECT_EQ(fuzzcheck::PlainLookup(entries, "score", "m2-1"), "300");
  EXPECT_EQ(fuzzcheck::PlainLookup(entries, "SCORE", "M1"), "5");

  // Input carving: three separators give the store, the rest is the file.
  std::string data =
      "LEVEL\x1ePASSED\x1e"
      "21\x1e[SCORE]\nM1=0\n";
  auto input = fuzzcheck::SplitIniInput(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  EXPECT_EQ(input.section, "LEVEL");
  EXPECT_EQ(input.key, "PASSED");
  EXPECT_EQ(input.value, "21");
  EXPECT_EQ(input.text, "[SCORE]\nM1=0\n");

  // A script that reads back differently is reported.
  EXPECT_EQ(fuzzcheck::CheckInputScript("3 tap 57\n1 down 30\n"), "");
  std::vector<ScriptEvent> events = {{1, ScriptEvent::Kind::Down, 30},
                                     {3, ScriptEvent::Kind::Close, 0}};
  EXPECT_EQ(fuzzcheck::FormatInputScript(events), "1 down 30\n3 close\n");
}

}  // namespace

namespace {

TEST(FuzzRegression, ReplayInputsReadOrAreRefusedCleanly) {
  std::vector<fs::path> files = Inputs("replay");
  ASSERT_GE(files.size(), 3u) << "the replay seed corpus is missing";
  for (const fs::path& file : files) EXPECT_EQ(fuzzcheck::CheckReplay(Bytes(file)), "") << file;
}

}  // namespace
