// Tests of the compact build's catalogue: the name rules and the collection walk over temporary trees.
#include "compact/catalogue.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "support/test_support.h"

namespace {

// The count does not wrap at 65536 names.
static_assert(std::is_same_v<decltype(CompactState::catalogue_count), uint32_t>);

// Collects the textures below `game_root` into `state`.
void collect(const std::string& game_root, CompactState* state) {
  std::string texture_root = game_root + "gamedata\\textures\\";
  state->texture_root_len = texture_root.size();
  compact_collect_textures(texture_root, state);
}

TEST(CompactCatalogueEntry, CutsExtensionAndKeepsDot) {
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
    EXPECT_EQ(compact_catalogue_entry(row.path), row.entry) << row.path;
}

TEST(CompactIsTexturePath, SubstringTests) {
  struct Row {
    const char* path;
    bool collected;
  } rows[] = {
      {"gamedata\\textures\\act\\act_head.dds", true},
      {"gamedata\\textures\\sky.tga", true},
      {"gamedata\\textures\\ui\\ui_icons.dds", true},  // no "ui\" test
      {"gamedata\\textures\\gui\\frame.dds", true},
      {"gamedata\\textures\\act\\act_head_bump.dds", false},
      {"gamedata\\textures\\act\\act_head_bump#.dds", false},
      {"gamedata\\textures\\act\\a$b.dds", false},
      {"gamedata\\textures\\act\\a#b.tga", false},
      {"gamedata\\textures\\act\\act_head.DDS", false},
      {"gamedata\\textures\\act\\act_head.png", false},
      {"gamedata\\textures\\a.dds.old", true},
  };
  for (const Row& row : rows)
    EXPECT_EQ(compact_is_texture_path(row.path), row.collected) << row.path;
}

TEST(CompactCutNames, CutLikeStrtok) {
  struct Row {
    std::string text;
    std::vector<std::string_view> names;
  } rows[] = {
      {"", {}},
      {"act\\act_head.sky.", {"act\\act_head", "sky"}},
      {"a.dds.b.", {"a", "dds", "b"}},
      {"..a...b", {"a", "b"}},
      {"...", {}},
  };
  for (Row& row : rows) {
    std::string text = row.text;
    std::vector<std::string_view> names = compact_cut_names(&text);
    EXPECT_EQ(names, row.names) << row.text;
    for (std::string_view name : names)  // each name ends in a zero byte
      EXPECT_EQ(name.data()[name.size()], '\0') << row.text;
  }
}

TEST(CompactCollectTextures, TreesGiveCatalogues) {
  struct Row {
    std::vector<std::string> files;
    const char* catalogue;
    uint32_t count;
  } rows[] = {
      {{"gamedata/textures/act/act_head.dds"}, "act\\act_head.", 1},
      {{"gamedata/textures/sky.tga", "gamedata/textures/act/act_head.dds"},
       "act\\act_head.sky.", 2},
      {{"gamedata/textures/ui/ui_icons.dds", "gamedata/textures/gui/f.dds"},
       "gui\\f.ui\\ui_icons.", 2},
      {{"gamedata/textures/act/act_head_bump.dds", "gamedata/textures/act/b$.dds",
        "gamedata/textures/act/c#.tga", "gamedata/textures/a.DDS",
        "gamedata/textures/a.png"},
       "", 0},
      {{"gamedata/textures/a.dds.old", "gamedata/textures/x.ddsx"}, "a.dds.x.d.", 2},
      {{"gamedata/config/unrelated.ltx"}, "", 0},
  };
  for (const Row& row : rows) {
    TempTree tree;
    for (const std::string& file : row.files)
      tree.write(file, "x");
    RecordingConsole console;
    CompactState state(console);
    collect(tree.root(), &state);
    EXPECT_EQ(state.catalogue, row.catalogue) << row.files[0];
    EXPECT_EQ(state.catalogue_count, row.count) << row.files[0];
  }
}

TEST(CompactCollectTextures, ProgressLinePerDirectory) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  RecordingConsole console;
  CompactState state(console);
  collect(tree.root(), &state);
  EXPECT_EQ(console.transcript(),
            "collecting = 'gamedata\\textures\\*.*'\t\t\r"
            "collecting = 'gamedata\\textures\\act\\*.*'\t\t\r");
}

TEST(CompactCollectTextures, GameRootHoldingExcludedText) {
  // The tests look below the game root, so a root under "$#_bump.dds" still
  // gets its catalogue, and only of textures.
  TempTree tree;
  tree.write("$#_bump.dds/gamedata/textures/sky.tga", "x");
  tree.write("$#_bump.dds/gamedata/textures/readme.txt", "x");
  RecordingConsole console;
  CompactState state(console);
  collect(tree.root() + "$#_bump.dds\\", &state);
  EXPECT_EQ(state.catalogue, "sky.");
  EXPECT_EQ(state.catalogue_count, 1u);
}

}  // namespace
