// More textures than 16 bits count and a catalogue text past 1 MiB: every texture collected, counted and searched.
// Linux only: making 65,537 files under wine takes longer than the whole CI run.
#include <gtest/gtest.h>

#include "hostile/hostile_support.h"

namespace {

TEST(HostileTree, MoreThan65536TexturesAndACatalogueOver1MiB) {
  // 65,537 names of 16 characters, each with its ".": 1,114,129 bytes of catalogue.
  const int count = 65537;
  TempTree tree;
  ExpectedTree expected;
  expected.texture_dirs = {"t\\"};
  for (int i = 0; i < count; ++i) {
    std::string number = std::to_string(100000 + i);
    tree.write("gamedata/textures/t/texture_" + number + ".dds", "");
    expected.names.push_back("t\\texture_" + number);
  }
  size_t catalogue_bytes = 0;
  for (const std::string& name : expected.names)
    catalogue_bytes += name.size() + 1;
  ASSERT_GT(catalogue_bytes, size_t{1} << 20);
  // The first and the last texture are referred to.
  tree.write("gamedata/config/refs.ltx", "first = t\\texture_100000\r\nlast = t\\texture_165536\r\n");
  expected.files = {{"gamedata\\config\\refs.ltx",
                     {{"t\\texture_100000", 8}, {"t\\texture_165536", 33}}}};
  // Snapshots of 65,537 files would double the test's time; other tests show
  // that nothing is written.
  RunOptions options;
  options.check_nothing_written = false;
  expect_every_mode(tree.root(), expected, expected, options);
}

}  // namespace
