// Directory listing on POSIX, in the order NTFS lists names, so reports match Windows.
#include "platform/directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace {

// The directory a pattern names: the pattern without its "*.*", with
// backslashes as separators.
std::string directory_of_pattern(const std::string& pattern) {
  std::string directory = pattern;
  if (directory.size() >= 3 && directory.compare(directory.size() - 3, 3, "*.*") == 0)
    directory.resize(directory.size() - 3);
  directory = native_path(directory);
  return directory.empty() ? "." : directory;
}

// RAII over a DIR stream.
class DirStream {
 public:
  explicit DirStream(const std::string& path) : dir_(opendir(path.c_str())) {}
  ~DirStream() {
    if (dir_)
      closedir(dir_);
  }
  DirStream(const DirStream&) = delete;
  DirStream& operator=(const DirStream&) = delete;
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

unsigned char upper_ascii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// NTFS order: names compared with ASCII letters upper-cased, then raw bytes.
bool ntfs_less(const DirEntry& a, const DirEntry& b) {
  const size_t common = std::min(a.name.size(), b.name.size());
  for (size_t i = 0; i < common; ++i) {
    unsigned char x = upper_ascii(static_cast<unsigned char>(a.name[i]));
    unsigned char y = upper_ascii(static_cast<unsigned char>(b.name[i]));
    if (x != y)
      return x < y;
  }
  if (a.name.size() != b.name.size())
    return a.name.size() < b.name.size();
  return a.name < b.name;  // std::string compares its bytes as unsigned char
}

// Fills `entry` for `name` in the open directory; false for anything that is
// neither a regular file nor a directory once links are followed.
bool describe(DIR* dir, const dirent* raw, DirEntry* entry) {
  const char* name = raw->d_name;
  // The listing's own type spares a stat for plain files and directories;
  // links and file systems that give no type are looked at.
  if (raw->d_type == DT_REG || raw->d_type == DT_DIR) {
    *entry = DirEntry(name, raw->d_type == DT_DIR);
    return true;
  }
  if (raw->d_type != DT_LNK && raw->d_type != DT_UNKNOWN)
    return false;
  struct stat info;
  if (fstatat(dirfd(dir), name, &info, 0) != 0)
    return false;
  if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
    return false;
  *entry = DirEntry(name, S_ISDIR(info.st_mode));
  return true;
}

std::vector<DirEntry> read_entries(DIR* dir) {
  std::vector<DirEntry> entries;
  while (dirent* raw = readdir(dir)) {
    std::string name = raw->d_name;
    DirEntry entry;
    if (name != "." && name != ".." && describe(dir, raw, &entry))
      entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), ntfs_less);
  entries.insert(entries.begin(), {DirEntry{".", true}, DirEntry{"..", true}});
  return entries;
}

}  // namespace

struct DirectoryListing::Impl {
  bool ok = false;
  std::vector<DirEntry> entries;
  size_t next = 0;
};

DirectoryListing::DirectoryListing(const std::string& pattern)
    : impl_(std::make_unique<Impl>()) {
  DirStream dir(directory_of_pattern(pattern));
  if (!dir.get())
    return;
  impl_->entries = read_entries(dir.get());
  impl_->ok = true;
}

DirectoryListing::~DirectoryListing() = default;

bool DirectoryListing::ok() const { return impl_->ok; }

bool DirectoryListing::next(DirEntry* entry) {
  if (impl_->next >= impl_->entries.size())
    return false;
  *entry = impl_->entries[impl_->next++];
  return true;
}

bool directory_identity(const std::string& path, DirectoryId* id) {
  struct stat info;
  if (stat(native_path(path).c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    return false;
  id->device = static_cast<uint64_t>(info.st_dev);
  id->index = static_cast<uint64_t>(info.st_ino);
  return true;
}

bool is_directory(const std::string& path) {
  DirectoryId id;
  return directory_identity(path.empty() ? "." : path, &id);
}

std::string to_shown_name(const std::string& path) { return path; }

const char* unreachable_name_reason(const std::string& name) {
  return name.find('\\') == std::string::npos ? nullptr : "backslash in a name";
}

size_t max_path_length() { return PATH_MAX - 1; }

char native_separator() { return '/'; }

std::string native_path(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}
