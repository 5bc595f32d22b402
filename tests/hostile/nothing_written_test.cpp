// No run of either program writes anything into the game tree: every name, size, time and byte stays.
#include <gtest/gtest.h>

#include <filesystem>

#include "hostile/hostile_support.h"
#include "hostile/snapshot.h"

namespace {

// A game tree with a little of everything the programs meet.
void write_varied_tree(const TempTree& tree) {
  tree.write("gamedata/textures/act/act_head.dds", "DDS ");
  tree.write("gamedata/textures/act/act_head_bump.dds", "DDS ");
  tree.write("gamedata/textures/ui/ui_icons.dds", "DDS ");
  tree.write("gamedata/textures/sky.tga", std::string(300, '\xff'));
  tree.write("gamedata/config/weapons.ltx", "texture = act\\act_head\r\nsky = sky");
  tree.write("gamedata/config/textures.ltx", "sky\r\n");
  tree.write("gamedata/config/empty.ltx", "");
  tree.write("gamedata/meshes/actor.ogf", std::string("\x01\x02\0act\\act_head\0\xff", 18));
  tree.write("gamedata/scripts/ui_main.script", "ui\\ui_icons\n");
  tree.write("gamedata/ui.xml", "<sky/>");
  tree.write("bin/setup.exe", "MZ");
  tree.write("readme", "sky act\\act_head ui\\ui_icons\n");
  tree.make_directory("gamedata/levels/empty");
}

TEST(NothingWritten, EveryModeLeavesTheTreeAsItWas) {
  TempTree tree;
  write_varied_tree(tree);
  std::filesystem::permissions(tree.root() + "gamedata/config/weapons.ltx",
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  const TreeSnapshot before = snapshot_tree(tree.root());
  ASSERT_EQ(before.size(), 23u);  // the root, 10 directories below it, 12 files
  for (Mode mode : kModes) {
    ProgramResult result = run_mode(mode, tree.root());
    EXPECT_EQ(result.status, 0) << mode_name(mode) << "\n" << result.err;
    EXPECT_NE(result.out.find("FOUND"), std::string::npos) << mode_name(mode);
    EXPECT_EQ(snapshot_difference(before, snapshot_tree(tree.root())), "") << mode_name(mode);
  }
  std::filesystem::permissions(tree.root() + "gamedata/config/weapons.ltx",
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

}  // namespace
