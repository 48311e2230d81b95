// The headless runner as tools and tests use it: its input script, its trace, its exit status.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/recording/input_script.h"
#include "engine/recording/trace.h"
#include "test_support.h"

namespace {

test::CommandResult RunHeadless(const std::string& args) {
  return test::RunCommand(std::string(SWAYFIRE_HEADLESS) + " " + args + " 2>&1");
}

std::vector<ScriptEvent> Parse(const std::string& text) {
  std::istringstream in(text);
  return ParseInputScript(in);
}

TEST(InputScript, ReadsEventsSkipsCommentsAndSortsByPass) {
  auto events = Parse("# a comment\n\n5 down 30\r\n2 tap 57\n5 up 30\n9 close\n0 close\n");
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].pass, 0);
  EXPECT_EQ(events[1].pass, 2);
  EXPECT_EQ(events[1].kind, ScriptEvent::Kind::Tap);
  EXPECT_EQ(events[1].scanCode, 57);
  EXPECT_EQ(events[2].kind, ScriptEvent::Kind::Down);
  EXPECT_EQ(events[3].kind, ScriptEvent::Kind::Up);  // file order kept within a pass
  EXPECT_EQ(events[4].kind, ScriptEvent::Kind::Close);
}

TEST(InputScript, MalformedLinesNameTheirLineNumber) {
  const char* bad[] = {
      "x down 30", "3 press 30", "3 down",        "3 down 0",  "3 down 300",
      "-1 up 30",  "3 close 5",  "3 up 30 extra", "3 down 3x", "99999999999999999999 up 1"};
  for (const char* line : bad) {
    try {
      Parse(std::string("1 down 30\n# fine\n") + line + "\n");
      ADD_FAILURE() << "accepted: " << line;
    } catch (const ScriptError& error) {
      EXPECT_EQ(error.Line(), 3) << line;
      EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos);
    }
  }
}

TEST(TraceFormat, StringsNumbersBooleansAndTextures) {
  EXPECT_EQ(TraceString("a \"b\" c\\d"), "\"a \\\"b\\\" c\\\\d\"");
  EXPECT_EQ(TraceNumber(0.1f), "0.1");
  EXPECT_EQ(TraceNumber(640.0f), "640");
  EXPECT_EQ(TraceNumber(-0.5f), "-0.5");
  EXPECT_EQ(TraceNumber(static_cast<int64_t>(-1)), "-1");
  EXPECT_EQ(TraceBool(true), "-1");
  EXPECT_EQ(TraceBool(false), "0");
  EXPECT_EQ(TraceTexture(nullptr), "\"\"");
  EXPECT_EQ(TraceTexture(std::make_shared<TextureData>("files\\a.bmp")), "\"files\\\\a.bmp\"");
}

TEST(HeadlessRunner, RunsTheGivenPassesWritesATraceAndExitsZero) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  std::string trace = (folder / "trace.txt").string();
  test::CommandResult run =
      RunHeadless("--folder " + folder.str() + " --passes 12 --trace " + trace);
  EXPECT_EQ(run.status, 0) << run.output;
  std::string text = test::ReadFile(trace);
  EXPECT_NE(text.find("# pass 12\n"), std::string::npos);
  EXPECT_EQ(text.find("# pass 13\n"), std::string::npos);
  EXPECT_NE(text.find("Engine.Shutdown"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(folder / "files" / "bullet.dds"));
}

TEST(HeadlessRunner, SameSeedAndTimeGiveTheSameTrace) {
  test::TempFolder a, b;
  test::MakeAssetFiles(a.path());
  test::MakeAssetFiles(b.path());
  test::WriteFile(a / "in.txt", "3 tap 57\n20 down 30\n40 up 30\n");
  test::WriteFile(b / "in.txt", "3 tap 57\n20 down 30\n40 up 30\n");
  for (auto* f : {&a, &b}) {
    test::CommandResult run =
        RunHeadless("--folder " + f->str() + " --passes 200 --seed 5 --time 1000 --input " +
                    (*f / "in.txt").string() + " --trace " + (*f / "t.txt").string());
    ASSERT_EQ(run.status, 0) << run.output;
  }
  std::string ta = test::ReadFile(a / "t.txt");
  std::string tb = test::ReadFile(b / "t.txt");
  // The folder names differ; everything after start-up is the same.
  EXPECT_EQ(ta.substr(ta.find("# pass 1\n")), tb.substr(tb.find("# pass 1\n")));
}

TEST(HeadlessRunner, BadScriptOrArgumentsExitWithStatusTwo) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  test::WriteFile(folder / "in.txt", "1 down 30\n2 jump 30\n");
  test::CommandResult run =
      RunHeadless("--folder " + folder.str() + " --input " + (folder / "in.txt").string());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("line 2"), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(folder / "files" / "bullet.dds"));
  EXPECT_EQ(RunHeadless("--passes zero").status, 2);
  EXPECT_EQ(RunHeadless("--frobnicate 1").status, 2);
  EXPECT_EQ(RunHeadless("--input /nonexistent/script").status, 2);
  // A folder as the script would read as no keys at all.
  EXPECT_EQ(RunHeadless("--folder " + folder.str() + " --input " + folder.str()).status, 2);
  for (const char* time : {"nan", "inf", "-1", "86400"}) {
    EXPECT_EQ(RunHeadless(std::string("--time ") + time).status, 2) << time;
  }
}

TEST(HeadlessRunner, ATraceThatCannotBeWrittenIsAFailure) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  test::CommandResult run =
      RunHeadless("--folder " + folder.str() + " --passes 30 --trace /dev/full");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("cannot write trace /dev/full"), std::string::npos) << run.output;
}

TEST(HeadlessRunner, MissingAssetFailsNamingTheFile) {
  test::TempFolder folder;
  test::MakeAssetFiles(folder.path());
  std::filesystem::remove(folder / "files" / "hpbar.dds");
  test::CommandResult run = RunHeadless("--folder " + folder.str() + " --passes 5");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("hpbar.dds"), std::string::npos) << run.output;
}

}  // namespace
