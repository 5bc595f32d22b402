// A game file over 4 GiB, sparse so that it takes no disk space, with a name planted past 4 GiB.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "hostile/hostile_support.h"

namespace {

TEST(SlowHostileTree, NameBeyond4GiBInASparseFile) {
  TempTree tree;
  tree.write("gamedata/textures/act/act_head.dds", "x");
  tree.write("gamedata/textures/sky.tga", "x");
  tree.make_directory("gamedata/levels");
  const std::string path = tree.root() + "gamedata/levels/big.ltx";
  const uint64_t planted = (uint64_t{4} << 30) + 100;
  {
    std::ofstream out(path, std::ios::binary);
    out.seekp(static_cast<std::streamoff>(planted));
    out << "x act\\act_head\r\n";
  }
  const uint64_t size = planted + 16;
  ASSERT_EQ(std::filesystem::file_size(path), size);
  // The name is at 4294967398, past what 32 bits hold; zero bytes before it
  // are control bytes, which neither scanner mistakes for text.
  ExpectedTree expected{{"act\\"},
                        {"act\\act_head", "sky"},
                        {{"gamedata\\levels\\big.ltx", {{"act\\act_head", planted + 2}}}}};
  for (Mode mode : kModes) {
    ProgramResult result = run_mode(mode, tree.root());
    if (result.status == 1 && result.err.find("cannot allocate " + std::to_string(size) +
                                              " bytes for the content of ") != std::string::npos) {
      // Too little memory here: the run must end with the clear error, not a crash.
      RecordProperty(mode_name(mode), "allocation refused");
      continue;
    }
    expect_run(mode, result, expected_report(tree.root(), expected, mode));
  }
}

}  // namespace
