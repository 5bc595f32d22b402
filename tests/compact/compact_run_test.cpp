// Tests of the run sequence of Texsift-compact, in-process: texts, colours and exit status.
#include "app/programs.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

// Runs Texsift-compact on `root` and returns the transcript.
std::string run_on(const std::string& root, int* status) {
  RecordingConsole console;
  *status = run_compact({"Texsift-compact", root}, console);
  return console.transcript();
}

TEST(RunCompact, UsageCases) {
  struct Row {
    std::vector<std::string> args;
    const char* after_usage;  // the list of options, after help
  } rows[] = {
      {{"Texsift-compact"}, ""},
      {{"Texsift-compact", "root", "1"}, ""},
      {{"Texsift-compact", "a", "b", "c"}, ""},
      {{"Texsift-compact", "-h"}, kHelpList},
      {{"Texsift-compact", "--help"}, kHelpList},
      {{"Texsift-compact", "/?"}, kHelpList},
  };
  for (const Row& row : rows) {
    RecordingConsole console;
    EXPECT_EQ(run_compact(row.args, console), 0) << row.args.size();
    EXPECT_EQ(console.transcript(), std::string(kBanner) + kCompactUsage + row.after_usage)
        << row.args.size();
  }
}

TEST(RunCompact, ColoursOfTheReport) {
  // Colour 7 at every name tried (a repeat of the colour in force is not
  // set again), 10 before every FOUND line, nothing before the first name;
  // the next file's line comes after the last colour set.
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("gamedata/config/weapons.ltx", "texture = act\\act_head\r\nsky = sky\r\n");
  tree.write("gamedata/config/zz.ltx", "nothing");
  int status = -1;
  std::string transcript = run_on(tree.root(), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(transcript, report_opening(tree.root(), {"act\\"}) +
                            "searching in 'weapons.ltx'\n"
                            "{7}{10}FOUND 'gamedata\\config\\weapons.ltx' @ 10\n"
                            "{7}{10}FOUND 'gamedata\\config\\weapons.ltx' @ 24\n"
                            "searching in 'zz.ltx'\n"
                            "{7}");
}

TEST(RunCompact, EmptyCatalogueSetsNoColour) {
  TempTree tree;
  tree.write("gamedata/config/a.ltx", "act\\act_head\n");
  tree.write("gamedata/empty.ltx", "");
  int status = -1;
  std::string transcript = run_on(tree.root(), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(transcript, report_opening(tree.root()) +
                            "searching in 'a.ltx'\n"
                            "searching in 'empty.ltx'\n");
}

TEST(RunCompact, ZeroLengthFileGetsOnlyItsLine) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("empty.ltx", "");
  int status = -1;
  std::string transcript = run_on(tree.root(), &status);
  EXPECT_EQ(transcript, report_opening(tree.root()) +
                            "searching in 'empty.ltx'\n");
}

TEST(RunCompact, NameAsLongAsTheFileIsNotFound) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("a.ltx", "sky");
  tree.write("b.ltx", "sk");
  tree.write("c.ltx", "sky.");
  int status = -1;
  std::string transcript = run_on(tree.root(), &status);
  EXPECT_EQ(transcript, report_opening(tree.root()) +
                            "searching in 'a.ltx'\n{7}"
                            "searching in 'b.ltx'\n{7}"
                            "searching in 'c.ltx'\n{7}{10}FOUND 'c.ltx' @ 0\n");
}

TEST(RunCompact, MissingRootIsAnError) {
  TempTree tree;
  std::string missing = tree.root() + "missing" + tree.root().back();
  int status = -1;
  std::string transcript = run_on(missing, &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(transcript, report_opening(missing, {}, OpeningEnd::kScanningPath));
}

}  // namespace
