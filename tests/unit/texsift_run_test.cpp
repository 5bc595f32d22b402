// Tests of the run sequence of Texsift: arguments, banner, usage and selection.
#include "app/texsift.h"

#include <gtest/gtest.h>

#include "common/game_root.h"
#include "support/test_support.h"

namespace {

const char kBanner[] = "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n";
const char kUsage[] =
    "Usage: Texsift.EXE C:\\KORVAN1\\ <flag>\n\tflag = 0 or 1, type of search algorithm\n";

TEST(ParseAlgorithmFlag, AtoiLowEightBits) {
  struct Row {
    const char* text;
    uint8_t flag;
  } rows[] = {
      {"0", 0},     {"1", 1},      {"2", 2},     {"256", 0},
      {"257", 1},   {"abc", 0},    {"", 0},      {" 1", 1},
      {"+1", 1},    {"-1", 255},   {"1x", 1},    {"99999999999", 255},
      {"-99999999999", 0},
  };
  for (const Row& row : rows)
    EXPECT_EQ(parse_algorithm_flag(row.text), row.flag) << row.text;
}

TEST(WithTrailingSeparator, AppendsOnlyWhenMissing) {
  EXPECT_EQ(with_trailing_separator(""), "");
  EXPECT_EQ(with_trailing_separator("a/"), "a/");
  EXPECT_EQ(with_trailing_separator("a\\"), "a\\");
  std::string added = with_trailing_separator("a");
  ASSERT_EQ(added.size(), 2u);
  EXPECT_TRUE(added[1] == '/' || added[1] == '\\');
}

TEST(RunTexsift, UsageCases) {
  struct Row {
    std::vector<std::string> args;
  } rows[] = {{{"Texsift"}}, {{"Texsift", "-h"}}, {{"Texsift", "--help"}},
              {{"Texsift", "/?", "1"}}};
  for (const Row& row : rows) {
    RecordingConsole console;
    EXPECT_EQ(run_texsift(row.args, console), 0);
    EXPECT_EQ(console.transcript(), std::string(kBanner) + kUsage);
  }
}

TEST(RunTexsift, SelectionLines) {
  TempTree tree;
  tree.make_directory("gamedata/textures");
  struct Row {
    std::vector<std::string> flag;
    const char* line;
  } rows[] = {
      {{}, "algorithm #1 selected (slower)\n"},
      {{"0"}, "algorithm #1 selected (slower)\n"},
      {{"1"}, "algorithm #2 selected\n"},
      {{"2"}, "algorithm #2 selected\n"},
      {{"256"}, "algorithm #1 selected (slower)\n"},
      {{"abc"}, "algorithm #1 selected (slower)\n"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args{"Texsift", tree.root()};
    args.insert(args.end(), row.flag.begin(), row.flag.end());
    RecordingConsole console;
    EXPECT_EQ(run_texsift(args, console), 0);
    std::string prefix = std::string(kBanner) + "Scanning path: '" + tree.root() +
                         "'\ncollecting = 'gamedata\\textures\\*.*'\t\t\r\n--------------\n";
    EXPECT_EQ(console.transcript().substr(0, prefix.size() + strlen(row.line)),
              prefix + row.line);
  }
}

TEST(RunTexsift, MissingRootIsAnError) {
  TempTree tree;
  RecordingConsole console;
  std::string missing = tree.root() + "missing" + tree.root().back();
  EXPECT_EQ(run_texsift({"Texsift", missing}, console), 1);
  EXPECT_EQ(console.transcript(), std::string(kBanner) + "Scanning path: '" + missing + "'\n");
}

}  // namespace
