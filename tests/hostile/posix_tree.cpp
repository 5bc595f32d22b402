// Hostile entries for test trees on POSIX, made with the system's own calls.
#include "hostile/posix_tree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Opens the directory `name` in the directory `parent`.
int open_directory_at(int parent, const char* name) {
  return openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

void write_at(int directory, const std::string& name, const std::string& content) {
  int fd = openat(directory, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0) << name << ": " << strerror(errno);
  ASSERT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  close(fd);
}

// Descends `levels` directories named `name` from `fd`, which it closes;
// returns the descriptor of the deepest, or -1.
int descend(int fd, const std::string& name, int levels) {
  for (int level = 0; level < levels && fd >= 0; ++level) {
    int next = open_directory_at(fd, name.c_str());
    close(fd);
    fd = next;
  }
  return fd;
}

}  // namespace

void make_readable_to_all(const std::string& root) {
  fs::permissions(root, fs::perms(0755));
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_symlink())
      continue;
    if (entry.is_directory())
      fs::permissions(entry.path(), fs::perms(0755));
    else if (entry.is_regular_file())
      fs::permissions(entry.path(), fs::perms(0644));
  }
}

void make_unreadable(const std::string& path) { fs::permissions(path, fs::perms::none); }

void make_fifo(const std::string& path) {
  ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path << ": " << strerror(errno);
}

void make_socket(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path) << path;
  memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0)
      << path << ": " << strerror(errno);
  close(fd);
}

void make_link(const std::string& target, const std::string& path) {
  ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0) << path << ": " << strerror(errno);
}

void make_chain(const std::string& parent, const std::string& name, int levels,
                const FileList& files) {
  int fd = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0) << parent;
  for (int level = 0; level < levels; ++level) {
    ASSERT_EQ(mkdirat(fd, name.c_str(), 0755), 0) << "level " << level << ": " << strerror(errno);
    int next = open_directory_at(fd, name.c_str());
    close(fd);
    ASSERT_GE(next, 0) << "level " << level;
    fd = next;
  }
  for (const auto& [file, content] : files)
    write_at(fd, file, content);
  close(fd);
}

void remove_chain(const std::string& parent, const std::string& name, int levels,
                  const FileList& files) {
  int fd = descend(open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), name, levels);
  ASSERT_GE(fd, 0) << "cannot reach the bottom of the chain";
  for (const auto& file : files)
    unlinkat(fd, file.first.c_str(), 0);
  // Up one level at a time through "..", removing the level just left.
  for (int level = 0; level < levels; ++level) {
    int up = open_directory_at(fd, "..");
    close(fd);
    ASSERT_GE(up, 0);
    ASSERT_EQ(unlinkat(up, name.c_str(), AT_REMOVEDIR), 0) << strerror(errno);
    fd = up;
  }
  close(fd);
}

std::vector<std::string> as_unprivileged_user(bool* available) {
  *available = true;
  if (geteuid() != 0)
    return {};
  const char* setpriv = "/usr/bin/setpriv";
  *available = access(setpriv, X_OK) == 0;
  return {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"};
}
