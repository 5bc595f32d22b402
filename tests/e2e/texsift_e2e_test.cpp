// End-to-end tests of Texsift: the built program on temporary trees, whole output compared.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

const char kBanner[] = "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n";
const char kUsage[] =
    "Usage: Texsift.EXE C:\\KORVAN1\\ <flag>\n\tflag = 0 or 1, type of search algorithm\n";

ProgramResult texsift(const std::vector<std::string>& args) {
  return run_built_program(TEXSIFT_PROGRAM, args);
}

TEST(TexsiftProgram, Usage) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"--help"}, {"-h"}, {"/?"}}) {
    ProgramResult result = texsift(args);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, std::string(kBanner) + kUsage);
    EXPECT_EQ(result.err, "");
  }
}

TEST(TexsiftProgram, MissingRoot) {
  TempTree tree;
  std::string missing = tree.root() + "missing" + tree.root().back();
  ProgramResult result = texsift({missing});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, std::string(kBanner) + "Scanning path: '" + missing + "'\n");
  EXPECT_EQ(result.err, "Texsift: error: game root '" + missing + "' does not exist\n");
}

TEST(TexsiftProgram, RootThatIsAFile) {
  TempTree tree;
  tree.write("file", "x");
  ProgramResult result = texsift({tree.root() + "file"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Texsift: error: game root '" + tree.root() + "file" +
                            tree.root().back() + "' is not a directory\n");
}

TEST(TexsiftProgram, RootWithoutTrailingSeparatorAndSelection) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  std::string root = tree.root();
  std::string bare = root.substr(0, root.size() - 1);
  struct Row {
    std::vector<std::string> args;
    const char* selection;
  } rows[] = {
      {{bare}, "algorithm #1 selected (slower)\n"},
      {{root, "0"}, "algorithm #1 selected (slower)\n"},
      {{root, "1"}, "algorithm #2 selected\n"},
  };
  for (const Row& row : rows) {
    ProgramResult result = texsift(row.args);
    EXPECT_EQ(result.status, 0);
    std::string expected = std::string(kBanner) + "Scanning path: '" + root + "'\n" +
                           "collecting = 'gamedata\\textures\\*.*'\t\t\r" +
                           "collecting = 'gamedata\\textures\\act\\*.*'\t\t\r" +
                           "\n--------------\n" + row.selection;
    EXPECT_EQ(mask_timings(result.out).substr(0, expected.size()), expected);
  }
}

}  // namespace
