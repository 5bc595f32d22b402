// Tests of the search of a tree's files on several threads: walk order, and the files in flight bounded.
#include "search/tree_search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <set>

#include "search/file_content.h"
#include "support/test_support.h"

namespace {

EntryAction read_everything(const DirEntry& entry) {
  return entry.is_directory ? EntryAction::kDescend : EntryAction::kRead;
}

// Many files and many names: every file is handed on in walk order with what
// its search found, and the per-name state in use (one FoundNames per file in
// flight) stays within the bound whatever the tree's size.
TEST(SearchTreeInOrder, WalkOrderAndFilesInFlightBounded) {
  constexpr size_t kFiles = 200;
  constexpr size_t kNames = 2000;
  TempTree tree;
  for (size_t i = 0; i < kFiles; ++i) {
    char name[16];
    snprintf(name, sizeof name, "f%03zu.ltx", i);
    tree.write(name, std::to_string(i));
  }
  for (unsigned threads : {1u, 2u, 4u}) {
    std::mutex mutex;
    std::set<const FoundNames*> states;
    auto search = [&](const FileContent& content, FoundNames* found) {
      {
        std::lock_guard<std::mutex> lock(mutex);
        states.insert(found);
      }
      found->reset(kNames);
      std::string text(content.chars(), static_cast<size_t>(content.size()));
      found->record(static_cast<uint32_t>(std::stoul(text)), 0);
    };
    size_t handed_on = 0;
    auto sink = [&](const FileResult& result) {
      ASSERT_TRUE(result.searched);
      ASSERT_EQ(result.found.names(), std::vector<uint32_t>{static_cast<uint32_t>(handed_on)});
      ++handed_on;
    };
    search_tree_in_order(tree.root(), read_everything, threads, search, sink,
                         SinkOutput::kSilent);
    EXPECT_EQ(handed_on, kFiles) << threads;
    EXPECT_LE(states.size(), threads == 1 ? 1 : threads * kFilesInFlightPerThread) << threads;
  }
}

}  // namespace
