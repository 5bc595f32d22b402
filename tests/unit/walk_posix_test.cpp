// Tests of the tree walk on POSIX: directory links, cycles and paths over PATH_MAX.
#include "platform/walk.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_support.h"

namespace {

// Records the files a walk reads, as paths relative to its root.
class FileRecorder : public WalkVisitor {
 public:
  explicit FileRecorder(size_t root_length) : root_length_(root_length) {}
  EntryAction classify(const std::string&, const DirEntry& entry) override {
    if (entry.name == "." || entry.name == "..")
      return EntryAction::kSkip;
    return entry.is_directory ? EntryAction::kDescend : EntryAction::kRead;
  }
  void on_file(const std::string& path, const std::string&, const DirEntry&) override {
    files.push_back(path.substr(root_length_));
  }
  std::vector<std::string> files;

 private:
  size_t root_length_;
};

std::vector<std::string> walk(const std::string& root) {
  FileRecorder recorder(root.size());
  walk_tree(root, recorder);
  return recorder.files;
}

TEST(WalkTree, LinksFollowedCyclesEnteredOnce) {
  struct Row {
    std::vector<std::pair<std::string, std::string>> links;  // target, link
    std::vector<std::string> files;
  } rows[] = {
      // A link to another directory is followed like the directory itself.
      {{{"../b", "a/to_b"}}, {"a\\f", "a\\to_b\\g", "b\\g"}},
      // A link to an ancestor closes a cycle: not entered again.
      {{{"..", "a/up"}}, {"a\\f", "b\\g"}},
      // Two links into each other: each followed once along a path.
      {{{"../b", "a/to_b"}, {"../a", "b/to_a"}},
       {"a\\f", "a\\to_b\\g", "b\\g", "b\\to_a\\f"}},
  };
  for (const Row& row : rows) {
    TempTree tree;
    tree.write("a/f", "x");
    tree.write("b/g", "x");
    for (const auto& [target, link] : row.links)
      ASSERT_EQ(symlink(target.c_str(), (tree.root() + link).c_str()), 0);
    EXPECT_EQ(walk(tree.root()), row.files);
  }
}

// Removes the directory chain made by make_deep_chain, bottom up.
void remove_chain(int top, const std::string& name, int depth) {
  if (depth == 0)
    return;
  int fd = openat(top, name.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  unlinkat(fd, "f", 0);
  remove_chain(fd, name, depth - 1);
  close(fd);
  unlinkat(top, name.c_str(), AT_REMOVEDIR);
}

TEST(WalkTree, PathOverLimitIsSkippedNotTruncated) {
  TempTree tree;
  const std::string name(200, 'd');
  int depth = static_cast<int>(PATH_MAX / (name.size() + 1)) + 1;
  int fd = open(tree.root().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  int top = dup(fd);
  for (int level = 0; level < depth; ++level) {
    ASSERT_EQ(mkdirat(fd, name.c_str(), 0700), 0);
    int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
    close(openat(fd, "f", O_WRONLY | O_CREAT, 0600));
  }
  close(fd);
  std::vector<std::string> files = walk(tree.root());
  remove_chain(top, name, depth);
  close(top);
  // Every file whose path fits is read; the deepest ones are refused.
  ASSERT_FALSE(files.empty());
  EXPECT_LT(files.size(), static_cast<size_t>(depth));
  for (const std::string& file : files)
    EXPECT_LE(tree.root().size() + file.size(), max_path_length());
}

}  // namespace
