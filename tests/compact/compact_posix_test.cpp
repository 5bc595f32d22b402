// POSIX-only tests of Texsift-compact: directory links.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/programs.h"
#include "support/test_support.h"

namespace {

TEST(RunCompact, DirectoryLinksFollowedCyclesNot) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("gamedata/config/a.ltx", "sky\n");
  std::filesystem::create_directory_symlink("..", tree.root() + "gamedata/config/loop");
  std::filesystem::create_directory_symlink("config", tree.root() + "gamedata/link");
  RecordingConsole console;
  EXPECT_EQ(run_compact({"Texsift-compact", tree.root()}, console), 0);
  EXPECT_EQ(console.transcript(),
            report_opening(tree.root()) +
            "searching in 'a.ltx'\n{7}{10}FOUND 'gamedata\\config\\a.ltx' @ 0\n"
            "searching in 'a.ltx'\n{7}{10}FOUND 'gamedata\\link\\a.ltx' @ 0\n");
}

}  // namespace
