// Tests of the run sequence of Texsift: arguments, banner, usage and selection.
#include "app/programs.h"

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "search/game_root.h"
#include "support/test_support.h"

namespace {


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

TEST(ParseOptions, OptionsBeforeTheGameRoot) {
  using F = ReportFormat;
  struct Row {
    std::vector<std::string> args;  // after the program name
    ReportFormat format;
    bool help;
    bool version;
    std::vector<std::string> operands;
    const char* error;
  } rows[] = {
      {{}, F::kConsole, false, false, {}, ""},
      {{"root", "1"}, F::kConsole, false, false, {"root", "1"}, ""},
      {{"--json", "root"}, F::kJson, false, false, {"root"}, ""},
      {{"--csv", "root", "1"}, F::kCsv, false, false, {"root", "1"}, ""},
      {{"--json", "--json", "root"}, F::kJson, false, false, {"root"}, ""},
      {{"--help"}, F::kConsole, true, false, {}, ""},
      {{"-h", "root"}, F::kConsole, true, false, {"root"}, ""},
      {{"/?", "1"}, F::kConsole, true, false, {"1"}, ""},
      {{"--version", "--json"}, F::kJson, false, true, {}, ""},
      // Options end at the first other argument, or at "--", which is dropped.
      {{"root", "--json"}, F::kConsole, false, false, {"root", "--json"}, ""},
      {{"root", "-h"}, F::kConsole, false, false, {"root", "-h"}, ""},
      {{"--", "--json"}, F::kConsole, false, false, {"--json"}, ""},
      {{"--csv", "--", "-h", "--"}, F::kCsv, false, false, {"-h", "--"}, ""},
      {{"-x", "--json"}, F::kConsole, false, false, {"-x", "--json"}, ""},
      {{"-", "1"}, F::kConsole, false, false, {"-", "1"}, ""},
      {{"--"}, F::kConsole, false, false, {}, ""},
      // Errors: the first one found is told.
      {{"--xyz", "root"}, F::kConsole, false, false, {"root"}, "unknown option '--xyz'"},
      {{"--JSON"}, F::kConsole, false, false, {}, "unknown option '--JSON'"},
      {{"--json=1"}, F::kConsole, false, false, {}, "unknown option '--json=1'"},
      {{"--json", "--csv", "root"}, F::kCsv, false, false, {"root"},
       "options '--json' and '--csv' cannot be given together"},
      {{"--csv", "--help", "--json"}, F::kJson, true, false, {},
       "options '--json' and '--csv' cannot be given together"},
      {{"--a", "--b"}, F::kConsole, false, false, {}, "unknown option '--a'"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args{"Texsift"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    CommandLine line = parse_command_line(args);
    std::string shown = testing::PrintToString(row.args);
    EXPECT_EQ(line.format, row.format) << shown;
    EXPECT_EQ(line.help, row.help) << shown;
    EXPECT_EQ(line.version, row.version) << shown;
    EXPECT_EQ(line.operands, row.operands) << shown;
    EXPECT_EQ(line.error, row.error) << shown;
  }
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
    const char* after_usage;  // the list of options, after help
  } rows[] = {{{"Texsift"}, ""},
              {{"Texsift", "-h"}, kHelpList},
              {{"Texsift", "--help"}, kHelpList},
              {{"Texsift", "/?", "1"}, kHelpList},
              {{"Texsift", "--json"}, ""},
              {{"Texsift", "--csv", "--help", "root"}, kHelpList},
              {{"Texsift", "--version", "-h"}, kHelpList}};
  for (const Row& row : rows) {
    RecordingConsole console;
    EXPECT_EQ(run_texsift(row.args, console), 0);
    EXPECT_EQ(console.transcript(), std::string(kBanner) + kTexsiftUsage + row.after_usage);
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
    std::string prefix = report_opening(tree.root());
    EXPECT_EQ(console.transcript().substr(0, prefix.size() + strlen(row.line)),
              prefix + row.line);
  }
}

TEST(RunTexsift, MissingRootIsAnError) {
  TempTree tree;
  RecordingConsole console;
  std::string missing = tree.root() + "missing" + tree.root().back();
  EXPECT_EQ(run_texsift({"Texsift", missing}, console), 1);
  EXPECT_EQ(console.transcript(), report_opening(missing, {}, OpeningEnd::kScanningPath));
}

}  // namespace
