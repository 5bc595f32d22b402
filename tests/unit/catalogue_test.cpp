// Tests of both programs' texture catalogues: the name rules and the walks over temporary trees.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

// The catalogue of the textures below `game_root`, by Texsift's rules or the
// compact build's.
Catalogue collect(const std::string& game_root, bool compact, RecordingConsole* console) {
  const GamePaths paths = game_paths_of(game_root);
  std::string texture_root = texture_root_of(game_root);
  return collect_textures(texture_root, paths, *console,
                          compact ? kCompactTextureRules : TextureRules{});
}

// The catalogue's names, each followed by ".", as one text.
std::string joined(const Catalogue& catalogue) {
  std::string text;
  for (const std::string& name : catalogue.names)
    text += name + ".";
  return text;
}

TEST(CatalogueEntry, CutsExtensionAndKeepsDot) {
  struct Row {
    const char* path;
    const char* entry;
  } rows[] = {
      {"act\\act_head.dds", "act\\act_head."},
      {"sky.tga", "sky."},
      {"a.dds.old", "a.dds."},
      {"x.ddsx", "x.d."},  // the cut leaves no dot: one is added
      {"ab", "ab."},       // too short to cut
      {"", "."},
  };
  for (const Row& row : rows)
    EXPECT_EQ(catalogue_entry(row.path), row.entry) << row.path;
}

TEST(IsTexturePath, SubstringTests) {
  struct Row {
    const char* path;
    bool texsift;  // collected by Texsift
    bool compact;  // collected by Texsift-compact
  } rows[] = {
      {"gamedata\\textures\\act\\act_head.dds", true, true},
      {"gamedata\\textures\\sky.tga", true, true},
      {"gamedata\\textures\\act\\act_head_bump.dds", false, false},
      {"gamedata\\textures\\act\\act_head_bump#.dds", false, false},
      {"gamedata\\textures\\act\\a#b.dds", false, false},
      {"gamedata\\textures\\act\\a$b.dds", false, false},
      {"gamedata\\textures\\ui\\ui_icons.dds", false, true},  // no "ui\" test in compact
      {"gamedata\\textures\\gui\\frame.dds", false, true},    // ends in ui
      {"gamedata\\textures\\UI\\frame.dds", true, true},      // case-sensitive
      {"gamedata\\textures\\act\\act_head.DDS", false, false},
      {"gamedata\\textures\\act\\act_head.png", false, false},
      {"gamedata\\textures\\a.dds.old", true, true},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(is_texture_path(row.path, TextureRules{}), row.texsift) << row.path;
    EXPECT_EQ(is_texture_path(row.path, kCompactTextureRules), row.compact) << row.path;
  }
}

TEST(CutNames, CutLikeStrtok) {
  struct Row {
    const char* text;
    std::vector<std::string> names;
  } rows[] = {
      {"", {}},
      {"act\\act_head.sky.", {"act\\act_head", "sky"}},
      {"a.dds.b.", {"a", "dds", "b"}},
      {"..a...b", {"a", "b"}},
      {"...", {}},
  };
  for (const Row& row : rows) {
    std::vector<std::string> names;
    cut_names(row.text, &names);
    EXPECT_EQ(names, row.names) << row.text;
  }
}

TEST(CollectTextures, TreesGiveCatalogues) {
  struct Row {
    std::vector<std::string> files;
    const char* texsift;  // Texsift's names, each followed by "."
    uint32_t texsift_count;
    const char* compact;  // the compact build's
    uint32_t compact_count;
  } rows[] = {
      {{"gamedata/textures/act/act_head.dds"}, "act\\act_head.", 1, "act\\act_head.", 1},
      {{"gamedata/textures/sky.tga", "gamedata/textures/act/act_head.dds"},
       "act\\act_head.sky.", 2, "act\\act_head.sky.", 2},
      {{"gamedata/textures/act/act_head_bump.dds", "gamedata/textures/act/b$.dds",
        "gamedata/textures/act/c#.tga", "gamedata/textures/a.DDS", "gamedata/textures/a.png"},
       "", 0, "", 0},
      {{"gamedata/textures/ui/ui_icons.dds", "gamedata/textures/gui/f.dds"},
       "", 0, "gui\\f.ui\\ui_icons.", 2},
      // A tree of its own: Windows file names ignore case, so UI is ui there.
      {{"gamedata/textures/UI/f.dds"}, "UI\\f.", 1, "UI\\f.", 1},
      // a.dds.old gives two names; x.ddsx is cut to x.d and gives two.
      {{"gamedata/textures/a.dds.old", "gamedata/textures/x.ddsx"}, "a.dds.x.d.", 2,
       "a.dds.x.d.", 2},
      // NTFS order: upper-cased comparison puts "_" (0x5F) after letters.
      {{"gamedata/textures/b/z.dds", "gamedata/textures/B_/y.dds", "gamedata/textures/a.dds",
        "gamedata/textures/Ab/x.dds"},
       "a.Ab\\x.b\\z.B_\\y.", 4, "a.Ab\\x.b\\z.B_\\y.", 4},
      {{"gamedata/config/unrelated.ltx"}, "", 0, "", 0},
  };
  for (const Row& row : rows) {
    TempTree tree;
    for (const std::string& file : row.files)
      tree.write(file, "x");
    RecordingConsole console;
    Catalogue texsift = collect(tree.root(), false, &console);
    EXPECT_EQ(joined(texsift), row.texsift) << row.files[0];
    EXPECT_EQ(texsift.textures.size(), row.texsift_count) << row.files[0];
    Catalogue compact = collect(tree.root(), true, &console);
    EXPECT_EQ(joined(compact), row.compact) << row.files[0];
    EXPECT_EQ(compact.textures.size(), row.compact_count) << row.files[0];
  }
}

TEST(CollectTextures, EachTextureKeepsItsPathAndNames) {
  TempTree tree;
  tree.write("gamedata/textures/wpn/wpn.ak74.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  RecordingConsole console;
  Catalogue catalogue = collect(tree.root(), false, &console);
  ASSERT_EQ(catalogue.textures.size(), 2u);
  EXPECT_EQ(catalogue.names, (std::vector<std::string>{"sky", "wpn\\wpn", "ak74"}));
  EXPECT_EQ(catalogue.textures[0].path, "gamedata\\textures\\sky.tga");
  EXPECT_EQ(catalogue.textures[1].path, "gamedata\\textures\\wpn\\wpn.ak74.dds");
  EXPECT_EQ(catalogue.textures[1].first_name, 1u);
  EXPECT_EQ(catalogue.textures[1].name_count, 2u);
}

TEST(CollectTextures, ProgressLinePerDirectory) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  for (bool compact : {false, true}) {
    RecordingConsole console;
    collect(tree.root(), compact, &console);
    EXPECT_EQ(console.transcript(),
              "collecting = 'gamedata\\textures\\*.*'\t\t\r"
              "collecting = 'gamedata\\textures\\act\\*.*'\t\t\r");
  }
}

TEST(CollectTextures, MissingTextureRootGivesOneProgressLine) {
  TempTree tree;
  RecordingConsole console;
  Catalogue catalogue = collect(tree.root(), false, &console);
  EXPECT_TRUE(catalogue.names.empty());
  EXPECT_TRUE(catalogue.textures.empty());
  EXPECT_EQ(console.transcript(), "collecting = 'gamedata\\textures\\*.*'\t\t\r");
}

TEST(CollectTextures, GameRootHoldingExcludedText) {
  // The tests look below the game root, so a root under "$#_bump.dds" or
  // "$#gui.dds" still gets its catalogue, and only of textures.
  TempTree tree;
  for (const char* root : {"$#_bump.dds", "$#gui.dds"}) {
    tree.write(std::string(root) + "/gamedata/textures/sky.tga", "x");
    tree.write(std::string(root) + "/gamedata/textures/readme.txt", "x");
    for (bool compact : {false, true}) {
      RecordingConsole console;
      Catalogue catalogue = collect(tree.root() + root + "\\", compact, &console);
      EXPECT_EQ(joined(catalogue), "sky.") << root;
      EXPECT_EQ(catalogue.textures.size(), 1u) << root;
    }
  }
}

}  // namespace
