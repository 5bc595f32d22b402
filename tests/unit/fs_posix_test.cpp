// Tests of the POSIX file system layer: the directory listing's NTFS order, the kinds of entry listed, no "." or "..".
#include "platform/fs.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "support/test_support.h"

namespace {

std::vector<std::string> list(const std::string& directory) {
  DirectoryListing listing(directory + "*.*");
  std::vector<std::string> names;
  DirEntry entry;
  while (listing.next(&entry))
    names.push_back(entry.name + (entry.is_directory ? "/" : ""));
  return names;
}

TEST(DirectoryListing, NtfsOrder) {
  TempTree tree;
  for (const char* name : {"b", "B", "a_", "A", "ab", "_x", "Z", "a", "\xc4x", "1"})
    tree.write(name, "");
  tree.make_directory("Ac");
  // Upper-cased, "_" (0x5F) sorts after the letters; ties go by raw bytes.
  std::vector<std::string> expected{"1", "A", "a", "ab", "Ac/", "a_",
                                    "B", "b", "Z", "_x", "\xc4x"};
  EXPECT_EQ(list(tree.root()), expected);
}

TEST(DirectoryListing, OnlyFilesAndDirectoriesLinksFollowed) {
  TempTree tree;
  tree.write("file", "");
  tree.make_directory("dir");
  ASSERT_EQ(mkfifo((tree.root() + "fifo").c_str(), 0600), 0);
  ASSERT_EQ(symlink("nowhere", (tree.root() + "dangling").c_str()), 0);
  ASSERT_EQ(symlink("dir", (tree.root() + "linkdir").c_str()), 0);
  ASSERT_EQ(symlink("file", (tree.root() + "linkfile").c_str()), 0);
  int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::string socket_path = tree.root() + "sock";
  if (socket_path.size() < sizeof address.sun_path) {
    memcpy(address.sun_path, socket_path.c_str(), socket_path.size() + 1);
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  }
  close(sock);
  EXPECT_EQ(list(tree.root()),
            (std::vector<std::string>{"dir/", "file", "linkdir/", "linkfile"}));
}

TEST(DirectoryListing, BackslashIsSeparator) {
  TempTree tree;
  tree.write("a/b/c", "");
  EXPECT_EQ(list(tree.root() + "a\\b\\"), (std::vector<std::string>{"c"}));
  EXPECT_FALSE(DirectoryListing(tree.root() + "missing\\*.*").ok());
}

}  // namespace
