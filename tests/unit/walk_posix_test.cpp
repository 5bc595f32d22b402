// Tests of the tree walk on POSIX: directory links, cycles, paths over PATH_MAX, and listing ahead.
#include "search/walk.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// Records the files a walk reads, as paths relative to its root.
class FileRecorder : public WalkVisitor {
 public:
  explicit FileRecorder(size_t root_length) : root_length_(root_length) {}
  EntryAction classify(const std::string&, const DirEntry& entry) override {
    return entry.is_directory ? EntryAction::kDescend : EntryAction::kRead;
  }
  void on_file(const std::string& path, const std::string&, const DirEntry&) override {
    files.push_back(path.substr(root_length_));
  }
  std::vector<std::string> files;

 private:
  size_t root_length_;
};

// The files a walk of `root` reads, with `helpers` threads listing ahead.
std::vector<std::string> walk(const std::string& root, unsigned helpers) {
  FileRecorder recorder(root.size());
  walk_tree(root, recorder, helpers);
  return recorder.files;
}

// Records every call a walk makes, paths relative to its root. Folders
// named "skipped" are not descended into.
class CallRecorder : public WalkVisitor {
 public:
  explicit CallRecorder(size_t root_length) : root_length_(root_length) {}
  void on_directory(const std::string& pattern) override {
    calls.push_back("list " + pattern.substr(root_length_));
  }
  EntryAction classify(const std::string& directory, const DirEntry& entry) override {
    calls.push_back("meet " + directory.substr(root_length_) + entry.name +
                    (entry.is_directory ? "\\" : ""));
    if (entry.name == "skipped")
      return EntryAction::kSkip;
    return entry.is_directory ? EntryAction::kDescend : EntryAction::kRead;
  }
  void on_file(const std::string& path, const std::string& open_path, const DirEntry&) override {
    calls.push_back("read " + path.substr(root_length_) + " " + open_path.substr(root_length_));
  }
  std::vector<std::string> calls;

 private:
  size_t root_length_;
};

std::vector<std::string> calls_of_walk(const std::string& root, unsigned helpers) {
  CallRecorder recorder(root.size());
  walk_tree(root, recorder, helpers);
  return recorder.calls;
}

// Helper threads listing ahead: none, as few as one, and more than the walk's width.
constexpr unsigned kHelpers[] = {0, 1, 4};

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
    for (unsigned helpers : kHelpers)
      EXPECT_EQ(walk(tree.root(), helpers), row.files) << helpers << " helpers";
  }
}

// Directories listed ahead on other threads are handed to the visitor in the
// order, and with the calls, of a walk that lists each as it enters it: NTFS
// order, links followed once along a path, skipped and unreadable folders.
TEST(WalkTree, ListingAheadMakesTheCallsOfOneThread) {
  TempTree tree;
  const char* folders[] = {"b", "A", "_c", "Z1", "a1", "deep"};
  for (const char* folder : folders) {
    for (const char* sub : {"x", "Y", "x/inner", "Y/inner/inmost"})
      tree.write(std::string(folder) + "/" + sub + "/f", "x");
    tree.write(std::string(folder) + "/g", "x");
  }
  std::string deep = "deep";
  for (int level = 0; level < 40; ++level)
    tree.write((deep += "/d" + std::to_string(level % 3)) + "/f", "x");
  for (int n = 0; n < 120; ++n)
    tree.make_directory("wide/w" + std::to_string(n * 7919 % 1000));
  tree.write("skipped/hidden/f", "x");
  tree.write("A/skipped/hidden/f", "x");
  tree.write("locked/inside/f", "x");
  fs::permissions(tree.root() + "locked/inside", fs::perms::none);
  for (const auto& [target, link] : std::vector<std::pair<std::string, std::string>>{
           {"../A", "b/to_A"}, {"..", "A/up"}, {"../..", "Z1/x/root"}, {"../b", "_c/to_b"},
           {"../wide", "a1/to_wide"}, {"nowhere", "a1/gone"}})
    ASSERT_EQ(symlink(target.c_str(), (tree.root() + link).c_str()), 0);
  std::vector<std::string> one_thread = calls_of_walk(tree.root(), 0);
  ASSERT_GT(one_thread.size(), 800u);
  for (unsigned helpers : kHelpers)
    EXPECT_EQ(calls_of_walk(tree.root(), helpers), one_thread) << helpers << " helpers";
  fs::permissions(tree.root() + "locked/inside", fs::perms::owner_all);
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
  std::vector<std::vector<std::string>> walks;
  for (unsigned helpers : kHelpers)
    walks.push_back(walk(tree.root(), helpers));
  remove_chain(top, name, depth);
  close(top);
  // Every file whose path fits is read; the deepest ones are refused.
  const std::vector<std::string>& files = walks.front();
  ASSERT_FALSE(files.empty());
  EXPECT_LT(files.size(), static_cast<size_t>(depth));
  for (const std::string& file : files)
    EXPECT_LE(tree.root().size() + file.size(), max_path_length());
  for (const std::vector<std::string>& other : walks)
    EXPECT_EQ(other, files);
}

}  // namespace
