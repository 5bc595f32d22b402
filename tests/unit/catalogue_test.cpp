// Tests of the texture catalogue: the name rules and the walk over temporary trees.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

// Collects the textures below `game_root` and returns the catalogue.
Catalogue collect(const std::string& game_root, RecordingConsole* console) {
  std::string texture_root = game_root + "gamedata\\textures\\";
  Catalogue catalogue;
  collect_textures(texture_root, texture_root.size(), &catalogue, *console);
  return catalogue;
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
    bool collected;
  } rows[] = {
      {"gamedata\\textures\\act\\act_head.dds", true},
      {"gamedata\\textures\\sky.tga", true},
      {"gamedata\\textures\\act\\act_head_bump.dds", false},
      {"gamedata\\textures\\act\\act_head_bump#.dds", false},
      {"gamedata\\textures\\act\\a$b.dds", false},
      {"gamedata\\textures\\ui\\ui_icons.dds", false},
      {"gamedata\\textures\\gui\\frame.dds", false},  // ends in ui
      {"gamedata\\textures\\UI\\frame.dds", true},    // case-sensitive
      {"gamedata\\textures\\act\\act_head.DDS", false},
      {"gamedata\\textures\\act\\act_head.png", false},
      {"gamedata\\textures\\a.dds.old", true},
  };
  for (const Row& row : rows)
    EXPECT_EQ(is_texture_path(row.path), row.collected) << row.path;
}

TEST(CatalogueNames, CutLikeStrtok) {
  struct Row {
    const char* text;
    std::vector<std::string_view> names;
  } rows[] = {
      {"", {}},
      {"act\\act_head.sky.", {"act\\act_head", "sky"}},
      {"a.dds.b.", {"a", "dds", "b"}},
      {"..a...b", {"a", "b"}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(catalogue_names(row.text), row.names) << row.text;
}

TEST(CollectTextures, TreesGiveCatalogues) {
  struct Row {
    std::vector<std::string> files;
    const char* catalogue;
    uint32_t count;
  } rows[] = {
      {{"gamedata/textures/act/act_head.dds"}, "act\\act_head.", 1},
      {{"gamedata/textures/sky.tga", "gamedata/textures/act/act_head.dds"},
       "act\\act_head.sky.", 2},
      {{"gamedata/textures/act/act_head_bump.dds", "gamedata/textures/act/b$.dds",
        "gamedata/textures/ui/ui_icons.dds", "gamedata/textures/gui/f.dds",
        "gamedata/textures/a.DDS", "gamedata/textures/a.png"},
       "", 0},
      // A tree of its own: Windows file names ignore case, so UI is ui there.
      {{"gamedata/textures/UI/f.dds"}, "UI\\f.", 1},
      {{"gamedata/textures/a.dds.old", "gamedata/textures/x.ddsx"}, "a.dds.x.d.", 2},
      // NTFS order: upper-cased comparison puts "_" (0x5F) after letters.
      {{"gamedata/textures/b/z.dds", "gamedata/textures/B_/y.dds",
        "gamedata/textures/a.dds", "gamedata/textures/Ab/x.dds"},
       "a.Ab\\x.b\\z.B_\\y.", 4},
      {{"gamedata/config/unrelated.ltx"}, "", 0},
  };
  for (const Row& row : rows) {
    TempTree tree;
    for (const std::string& file : row.files)
      tree.write(file, "x");
    RecordingConsole console;
    Catalogue catalogue = collect(tree.root(), &console);
    EXPECT_EQ(catalogue.catalogue, row.catalogue) << row.files[0];
    EXPECT_EQ(catalogue.catalogue_count, row.count) << row.files[0];
  }
}

TEST(CollectTextures, ProgressLinePerDirectory) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  RecordingConsole console;
  Catalogue catalogue = collect(tree.root(), &console);
  EXPECT_EQ(console.transcript(),
            "collecting = 'gamedata\\textures\\*.*'\t\t\r"
            "collecting = 'gamedata\\textures\\act\\*.*'\t\t\r");
}

TEST(CollectTextures, MissingTextureRootGivesOneProgressLine) {
  TempTree tree;
  RecordingConsole console;
  Catalogue catalogue = collect(tree.root(), &console);
  EXPECT_EQ(catalogue.catalogue, "");
  EXPECT_EQ(catalogue.catalogue_count, 0u);
  EXPECT_EQ(console.transcript(), "collecting = 'gamedata\\textures\\*.*'\t\t\r");
}

TEST(CollectTextures, GameRootHoldingExcludedText) {
  // The tests look below the game root, so a root under "$#gui.dds" still
  // gets its catalogue.
  TempTree tree;
  tree.write("$#gui.dds/gamedata/textures/sky.tga", "x");
  RecordingConsole console;
  Catalogue catalogue = collect(tree.root() + "$#gui.dds\\", &console);
  EXPECT_EQ(catalogue.catalogue, "sky.");
}

}  // namespace
