// POSIX-only tests of Texsift-compact: directory links and a file too large to hold.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "compact/compact.h"
#include "compact/content.h"
#include "platform/file.h"
#include "support/test_support.h"

namespace {

#ifdef __SANITIZE_ADDRESS__
constexpr bool kSanitized = true;  // the sanitizer's allocator reports instead of failing
#else
constexpr bool kSanitized = false;
#endif

// Lets the process map no more than `bytes` of memory.
void limit_address_space(rlim_t bytes) {
  rlimit limit{bytes, bytes};
  setrlimit(RLIMIT_AS, &limit);
}

TEST(RunCompact, DirectoryLinksFollowedCyclesNot) {
  TempTree tree;
  tree.write("gamedata/textures/sky.tga", "x");
  tree.write("gamedata/config/a.ltx", "sky\n");
  std::filesystem::create_directory_symlink("..", tree.root() + "gamedata/config/loop");
  std::filesystem::create_directory_symlink("config", tree.root() + "gamedata/link");
  RecordingConsole console;
  EXPECT_EQ(run_compact({"Texsift-compact", tree.root()}, console), 0);
  EXPECT_EQ(console.transcript(),
            "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n"
            "Scanning path: '" + tree.root() + "'\n"
            "collecting = 'gamedata\\textures\\*.*'\t\t\r"
            "\n--------------\n"
            "searching in 'a.ltx'\n{7}{10}FOUND 'gamedata\\config\\a.ltx' @ 0\n"
            "searching in 'a.ltx'\n{7}{10}FOUND 'gamedata\\link\\a.ltx' @ 0\n");
}

TEST(CompactLoadFileDeathTest, AllocationFailureEndsTheRun) {
  if (kSanitized)
    GTEST_SKIP() << "the address-space limit cannot hold under AddressSanitizer";
  TempTree tree;
  std::string path = tree.root() + "big.ltx";
  tree.write("big.ltx", "");
  std::filesystem::resize_file(path, 4ull << 30);  // sparse: takes no disk space
  InputFile file;
  ASSERT_TRUE(file.open(path));
  EXPECT_EXIT(
      {
        limit_address_space(1ull << 30);
        compact_load_file(&file, path);
      },
      testing::ExitedWithCode(1),
      "error: cannot allocate 4294967296 bytes for the content of .*big\\.ltx");
}

}  // namespace
