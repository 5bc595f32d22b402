// POSIX-only end-to-end tests of Texsift-compact: files that cannot be opened.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fs.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

bool can_open(const std::string& path) {
  InputFile file;
  return file.open(path);
}

// Makes the regular file at `path` impossible to open for reading: it loses
// its permissions or, where they do not stop the user (root), it becomes a
// link to a kernel setting that no one may read. False when neither works.
bool make_unopenable(const std::string& path) {
  fs::permissions(path, fs::perms::none);
  if (!can_open(path))
    return true;
  fs::remove(path);
  fs::create_symlink("/proc/sys/vm/drop_caches", path);
  return fs::is_regular_file(path) && !can_open(path);
}

TEST(CompactProgram, FilesThatCannotBeOpened) {
  TempTree tree;
  tree.write("gamedata/textures/locked.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("gamedata/config/a.ltx", "locked sky\n");
  tree.write("gamedata/config/b.ltx", "locked sky\n");
  if (!make_unopenable(tree.root() + "gamedata/textures/locked.dds") ||
      !make_unopenable(tree.root() + "gamedata/config/b.ltx"))
    GTEST_SKIP() << "no way to make a file unopenable here";
  ProgramResult result = run_built_program(COMPACT_PROGRAM, {tree.root()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            report_opening(tree.root()) +
            "searching in 'a.ltx'\n"
            "FOUND 'gamedata\\config\\a.ltx' @ 7\n");
  EXPECT_EQ(result.err, "");
}

}  // namespace
