// The file system on POSIX: listings in the order NTFS lists names, so reports match Windows; only regular files are opened, without blocking; writes never through a link.
#include "platform/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "text/ascii.h"

namespace {

// A DIR stream, closed when it goes.
struct CloseDir {
  void operator()(DIR* dir) const { closedir(dir); }
};
using DirStream = std::unique_ptr<DIR, CloseDir>;

DirStream open_dir(const std::string& path) { return DirStream(opendir(native_path(path).c_str())); }

bool is_dot_or_dot_dot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The directory a pattern names: the pattern without its "*.*".
std::string directory_of_pattern(const std::string& pattern) {
  std::string directory = pattern;
  if (directory.size() >= 3 && directory.compare(directory.size() - 3, 3, "*.*") == 0)
    directory.resize(directory.size() - 3);
  return directory.empty() ? "." : directory;
}

// NTFS order: names compared with ASCII letters upper-cased, then raw bytes.
bool ntfs_less(const DirEntry& a, const DirEntry& b) {
  const size_t common = std::min(a.name.size(), b.name.size());
  for (size_t i = 0; i < common; ++i) {
    auto x = static_cast<unsigned char>(upper_ascii(a.name[i]));
    auto y = static_cast<unsigned char>(upper_ascii(b.name[i]));
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
    DirEntry entry;
    if (!is_dot_or_dot_dot(raw->d_name) && describe(dir, raw, &entry))
      entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), ntfs_less);
  return entries;
}

// stat (links followed) of `path`; the empty path is the current directory.
bool stat_path(const std::string& path, struct stat* info) {
  return stat(path.empty() ? "." : native_path(path).c_str(), info) == 0;
}

// How often, 10 ms apart, an open is tried while another process's lease
// holds the file: two minutes, past the kernel's lease-break time (45 s by
// default), after which the kernel takes the lease away itself.
constexpr int kLeaseAttempts = 12000;

// Opens `path` for reading without blocking. A lease that another process
// holds on the file (a file server's oplock) makes such an open fail with
// EWOULDBLOCK until the holder lets go, where a blocking open would wait; the
// open is tried again meanwhile, so the file is waited for, not passed over.
int open_nonblocking(const std::string& path) {
  for (int attempt = 0;; ++attempt) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 || errno != EWOULDBLOCK || attempt == kLeaseAttempts)
      return fd;
    timespec pause{0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
}

// Opens without blocking so that a FIFO put in a file's place never hangs the
// walk, and refuses anything that is not a regular file; sets *size to the
// file's size. Reads block again when `for_reading`.
int open_regular_file(const std::string& path, bool for_reading, int64_t* size) {
  int fd = open_nonblocking(native_path(path));
  if (fd < 0)
    return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  *size = static_cast<int64_t>(info.st_size);
  // O_NONBLOCK is the only status flag the open set.
  if (for_reading)
    fcntl(fd, F_SETFL, 0);
  return fd;
}

}  // namespace

struct DirectoryListing::Impl {
  bool ok = false;
  std::vector<DirEntry> entries;
  size_t next = 0;
};

DirectoryListing::DirectoryListing(const std::string& pattern)
    : impl_(std::make_unique<Impl>()) {
  DirStream dir = open_dir(directory_of_pattern(pattern));
  if (!dir)
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
  struct stat info;
  return stat_path(path, &info) && S_ISDIR(info.st_mode);
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

bool opens_for_reading(const std::string& path) {
  int64_t size = 0;
  int fd = open_regular_file(path, false, &size);
  if (fd < 0)
    return false;
  ::close(fd);
  return true;
}

bool InputFile::open(const std::string& path) {
  close();
  handle_ = open_regular_file(path, true, &size_);
  return handle_ >= 0;
}

size_t InputFile::read_at(uint64_t offset, char* buffer, size_t count) {
  // One read returns at most about 2 GiB on Linux, and may stop early on a signal.
  size_t done = 0;
  while (handle_ >= 0 && done < count && offset + done <= INT64_MAX) {
    ssize_t got = pread(static_cast<int>(handle_), buffer + done, count - done,
                        static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      break;
    done += static_cast<size_t>(got);
  }
  return done;
}

void InputFile::close() {
  if (handle_ >= 0)
    ::close(static_cast<int>(handle_));
  handle_ = -1;
  size_ = -1;
}

std::optional<uint64_t> file_size(const std::string& path) {
  struct stat info;
  if (stat(native_path(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  return static_cast<uint64_t>(info.st_size);
}

bool path_exists(const std::string& path) {
  struct stat info;
  return stat_path(path, &info);
}

EntryKind entry_kind(const std::string& path) {
  struct stat info;
  if (lstat(native_path(path).c_str(), &info) != 0)
    return EntryKind::kMissing;
  if (S_ISLNK(info.st_mode))
    return EntryKind::kLink;
  if (S_ISDIR(info.st_mode))
    return EntryKind::kDirectory;
  return S_ISREG(info.st_mode) ? EntryKind::kFile : EntryKind::kOther;
}

bool make_directory(const std::string& path) {
  return mkdir(native_path(path).c_str(), 0777) == 0;
}

bool list_entry_names(const std::string& path, std::vector<std::string>* names) {
  DirStream dir = open_dir(path);
  if (!dir)
    return false;
  names->clear();
  while (dirent* entry = readdir(dir.get()))
    if (!is_dot_or_dot_dot(entry->d_name))
      names->push_back(entry->d_name);
  return true;
}

bool write_file(const std::string& path, std::string_view bytes) {
  int fd = ::open(native_path(path).c_str(),
                  O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0)
    return false;
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  for (size_t done = 0; ok && done < bytes.size();) {
    ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    ok = written > 0;
    if (ok)
      done += static_cast<size_t>(written);
  }
  return ::close(fd) == 0 && ok;
}

bool remove_file(const std::string& path) {
  return entry_kind(path) == EntryKind::kFile && unlink(native_path(path).c_str()) == 0;
}

std::string real_path(const std::string& path) {
  std::unique_ptr<char, decltype(&free)> resolved(realpath(native_path(path).c_str(), nullptr),
                                                  &free);
  return resolved ? std::string(resolved.get()) : std::string();
}
