// End-to-end tests of Texsift-compact: the built program on temporary trees, whole output compared.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

ProgramResult compact(const std::vector<std::string>& args) {
  return run_built_program(COMPACT_PROGRAM, args);
}

TEST(CompactProgram, Usage) {
  // Help adds the list of options after the usage text; a wrong count of arguments does not.
  struct Row {
    std::vector<std::string> args;
    const char* after_usage;
  } rows[] = {
      {{}, ""}, {{"root", "1"}, ""}, {{"-h"}, kHelpList}, {{"--help"}, kHelpList},
      {{"/?"}, kHelpList},
  };
  for (const Row& row : rows) {
    ProgramResult result = compact(row.args);
    EXPECT_EQ(result.status, 0) << row.args.size();
    EXPECT_EQ(result.out, std::string(kBanner) + kCompactUsage + row.after_usage) << row.args.size();
    EXPECT_EQ(result.err, "");
  }
}

TEST(CompactProgram, Options) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("sky.ltx", "sky\n");
  struct Row {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
  } rows[] = {
      {{"--version"}, 0, "Texsift-compact " TEXSIFT_VERSION "\n", ""},
      {{"--xyz", tree.root()}, 2, "", "Texsift-compact: error: unknown option '--xyz'\n"},
      // Exactly one argument after the options.
      {{"--json", tree.root(), "1"}, 0, std::string(kBanner) + kCompactUsage, ""},
      {{"--json", tree.root()}, 0,
       "{\"type\":\"file\",\"path\":{\"text\":\"sky.ltx\"},\"size\":4,"
       "\"names\":[{\"name\":{\"text\":\"sky\"},\"offset\":0}]}\n"
       "{\"type\":\"totals\",\"files_searched\":1,\"bytes_searched\":4,\"textures\":1,"
       "\"names\":1,\"seconds\":#}\n",
       ""},
      {{"--csv", "--", tree.root()}, 0,
       "type,file,name,offset,files_searched,bytes_searched,textures,names,seconds,size\n"
       "file,sky.ltx,,,,,,,,4\n"
       "reference,sky.ltx,sky,0,,,,,,\n"
       "totals,,,,1,4,1,1,#,\n",
       ""},
  };
  for (const Row& row : rows) {
    ProgramResult result = compact(row.args);
    EXPECT_EQ(result.status, row.status) << row.args[0];
    EXPECT_EQ(mask_seconds(result.out), row.out) << row.args[0];
    EXPECT_EQ(result.err, row.err) << row.args[0];
  }
}

TEST(CompactProgram, RootThatIsNotADirectory) {
  TempTree tree;
  tree.write("file", "x");
  const char separator = tree.root().back();
  struct Row {
    std::string root;
    std::string shown;  // with the separator appended
    const char* problem;
  } rows[] = {
      {tree.root() + "missing" + separator, tree.root() + "missing" + separator,
       "does not exist"},
      {tree.root() + "file", tree.root() + "file" + separator, "is not a directory"},
      // Past every platform's path limit: named, not taken for a missing folder.
      {tree.root() + std::string(5000, 'x') + separator,
       tree.root() + std::string(5000, 'x') + separator, "is longer than the path limit"},
  };
  for (const Row& row : rows) {
    ProgramResult result = compact({row.root});
    EXPECT_EQ(result.status, 1) << row.root;
    EXPECT_EQ(result.out, report_opening(row.shown, {}, OpeningEnd::kScanningPath)) << row.root;
    EXPECT_EQ(result.err, "Texsift-compact: error: game root '" + row.shown + "' " +
                              row.problem + "\n");
  }
}

TEST(CompactProgram, TwoNamesInOneFileInCatalogueOrder) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("gamedata/config/weapons.ltx", "sky = sky\r\ntexture = act\\act_head\r\n");
  ProgramResult result = compact({tree.root()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, report_opening(tree.root(), {"act\\"}) +
                            "searching in 'weapons.ltx'\n"
                            "FOUND 'gamedata\\config\\weapons.ltx' @ 21\n"
                            "FOUND 'gamedata\\config\\weapons.ltx' @ 0\n");
  EXPECT_EQ(result.err, "");
}

TEST(CompactProgram, UiTextureCollected) {
  TempTree tree;
  tree.write("gamedata/textures/ui/ui_icons.dds", "x");
  tree.write("gamedata/config/ui.xml", "<texture>ui\\ui_icons</texture>");
  ProgramResult result = compact({tree.root()});
  EXPECT_EQ(result.out, report_opening(tree.root(), {"ui\\"}) +
                            "searching in 'ui.xml'\n"
                            "FOUND 'gamedata\\config\\ui.xml' @ 9\n");
}

TEST(CompactProgram, EmptyCatalogueAndFilteredFiles) {
  TempTree tree;
  tree.make_directory("gamedata/textures");
  for (const char* name : {"engine.dll", "notes.txt", "old~", "save.sav", "setup.exe",
                           "textures.ltx", "a.hom", "level.ogg", "shader.h", "sky.tga"})
    tree.write(std::string("gamedata/") + name, "act\\act_head\n");
  tree.write("old.exe/inner.ltx", "x");
  ProgramResult result = compact({tree.root()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, report_opening(tree.root()) +
                            "searching in 'engine.dll'\n"
                            "searching in 'notes.txt'\n"
                            "searching in 'old~'\n"
                            "searching in 'save.sav'\n"
                            "searching in 'setup.exe'\n"
                            "searching in 'textures.ltx'\n"
                            "searching in 'inner.ltx'\n");
}

TEST(CompactProgram, ZeroLengthFile) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("gamedata/empty.ltx", "");
  ProgramResult result = compact({tree.root()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, report_opening(tree.root()) +
                            "searching in 'empty.ltx'\n");
}

TEST(CompactProgram, RootWithoutTrailingSeparator) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("sky.ltx", "the sky\n");
  std::string bare = tree.root().substr(0, tree.root().size() - 1);
  ProgramResult result = compact({bare});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, report_opening(tree.root()) +
                            "searching in 'sky.ltx'\n"
                            "FOUND 'sky.ltx' @ 4\n");
}

}  // namespace
