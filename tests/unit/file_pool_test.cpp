// Tests of the file pool: files handed on in order, and the files in flight bounded by its slots.
#include "search/file_pool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "search/file_content.h"
#include "support/test_support.h"

namespace {

EntryAction read_everything(const DirEntry& entry) {
  return entry.is_directory ? EntryAction::kDescend : EntryAction::kRead;
}

// Many files, from a walk or from a list: each is handed on in order with
// what its work left in its slot, and no slot is shared by two files in
// flight, whatever the tree's size.
TEST(FilePool, OrderAndSlotsBounded) {
  constexpr size_t kFiles = 200;
  TempTree tree;
  std::vector<PoolFile> listed;
  for (size_t i = 0; i < kFiles; ++i) {
    char name[16];
    snprintf(name, sizeof name, "f%03zu.ltx", i);
    tree.write(name, std::to_string(i));
    PoolFile file;
    file.path = file.open_path = tree.root() + name;
    file.name = name;
    listed.push_back(file);
  }
  for (bool from_list : {false, true}) {
    for (unsigned threads : {1u, 2u, 4u}) {
      const size_t slots = pool_slots(threads);
      EXPECT_EQ(slots, threads == 1 ? 1 : threads * kFilesInFlightPerThread);
      std::vector<size_t> in_slot(slots, kFiles);
      const FileWork work = [&](const PoolFile& file, FileContent& content) {
        ASSERT_LT(file.slot, slots);
        in_slot[file.slot] = std::stoul(std::string(content.chars(), content.size()));
      };
      size_t handed_on = 0;
      const FileSink sink = [&](const PoolFile& file) {
        ASSERT_TRUE(file.searched);
        ASSERT_EQ(in_slot[file.slot], handed_on);
        ++handed_on;
      };
      if (from_list)
        read_files_in_order(listed, threads, work, sink, SinkOutput::kSilent);
      else
        read_tree_in_order(tree.root(), read_everything, threads, work, sink, SinkOutput::kSilent);
      EXPECT_EQ(handed_on, kFiles) << threads << " threads, from a list: " << from_list;
    }
  }
}

}  // namespace
