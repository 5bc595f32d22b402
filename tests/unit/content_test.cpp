// Tests of reading files: from an offset, whole, short reads and allocation failure.
#include "search/file_content.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "match/matcher.h"
#include "support/test_support.h"

// An allocation that cannot be served returns null under the sanitizer too,
// as it does in a normal build, so that the program's own message is seen.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

std::string text_of(const FileContent& content) {
  return std::string(reinterpret_cast<const char*>(content.bytes().data()), content.size());
}

TEST(FileContent, ReadsTheWholeFile) {
  TempTree tree;
  tree.write("a.ltx", std::string("sky\0\xFF.", 6));
  InputFile file;
  ASSERT_TRUE(file.open(tree.root() + "a.ltx"));
  ASSERT_EQ(file.size(), 6);
  FileContent content;
  ASSERT_TRUE(content.read(file, 6));
  EXPECT_EQ(text_of(content), std::string("sky\0\xFF.", 6));
}

TEST(InputFile, ReadAtReadsFromItsOffset) {
  TempTree tree;
  tree.write("a.dds", "DDS header+level");
  InputFile file;
  ASSERT_TRUE(file.open(tree.root() + "a.dds"));
  struct Row {
    uint64_t offset;
    size_t count;
    const char* bytes;
  };
  const Row rows[] = {{11, 5, "level"}, {0, 3, "DDS"}, {11, 40, "level"}, {16, 4, ""},
                      {40, 4, ""}, {uint64_t{1} << 63, 4, ""}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.offset);
    std::string buffer(row.count, '?');
    buffer.resize(file.read_at(row.offset, buffer.data(), buffer.size()));
    EXPECT_EQ(buffer, row.bytes);
  }
}

TEST(LoadWholeFile, ReusedContentHoldsOnlyTheLatestFile) {
  TempTree tree;
  tree.write("long.ltx", "a long file");
  tree.write("short.ltx", "sky");
  tree.write("empty.ltx", "");
  FileContent content;
  // Shorter, longer, shorter again: the buffer grows from one it holds.
  for (const char* name : {"short.ltx", "long.ltx", "empty.ltx", "short.ltx"}) {
    InputFile file;
    ASSERT_TRUE(file.open(tree.root() + name));
    uint64_t size = 0;
    LoadResult loaded = load_file(file, Reading::kWhole, &content, &size);
    EXPECT_EQ(loaded, std::string(name) == "empty.ltx" ? LoadResult::kEmpty : LoadResult::kLoaded)
        << name;
    EXPECT_EQ(text_of(content), read_whole_file(tree.root() + name)) << name;
  }
}

TEST(FileContent, ShortReadKeepsOnlyTheBytesRead) {
  // The file is shorter than the size the load was told, as when it shrinks
  // between the size and the read: only the bytes read are content, so the
  // name ends at the end of what was read.
  TempTree tree;
  tree.write("a.ltx", "act\\act_head");
  InputFile file;
  ASSERT_TRUE(file.open(tree.root() + "a.ltx"));
  FileContent content;
  ASSERT_TRUE(content.read(file, 40));
  EXPECT_EQ(content.size(), 12u);
  EXPECT_EQ(text_of(content), "act\\act_head");
  EXPECT_EQ(find_name(content.bytes(), "act\\act_head"), std::optional<uint64_t>(0));
}

TEST(FileContentDeathTest, AllocationFailureEndsTheRunWithAMessage) {
  TempTree tree;
  tree.write("huge.ltx", "x");
  const std::string path = tree.root() + "huge.ltx";
  InputFile file;
  ASSERT_TRUE(file.open(path));
  const uint64_t size = uint64_t{1} << 62;
  FileContent content;
  EXPECT_FALSE(content.read(file, size));
  EXPECT_EQ(content.size(), 0u);
  EXPECT_EXIT(fail_to_hold(path, size), testing::ExitedWithCode(1),
              "cannot allocate 4611686018427387904 bytes for the content of .*huge\\.ltx");
}

}  // namespace
