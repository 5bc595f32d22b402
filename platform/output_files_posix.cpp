// Page folder writes on POSIX: lstat, mkdir, opendir, open with O_NOFOLLOW, realpath.
#include "platform/output_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/directory.h"

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
  struct Close {
    void operator()(DIR* directory) const { closedir(directory); }
  };
  std::unique_ptr<DIR, Close> directory(opendir(native_path(path).c_str()));
  if (!directory)
    return false;
  names->clear();
  while (dirent* entry = readdir(directory.get())) {
    std::string name = entry->d_name;
    if (name != "." && name != "..")
      names->push_back(name);
  }
  return true;
}

bool write_file(const std::string& path, std::string_view bytes) {
  int fd = open(native_path(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                0666);
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
  return close(fd) == 0 && ok;
}

bool remove_file(const std::string& path) {
  return entry_kind(path) == EntryKind::kFile && unlink(native_path(path).c_str()) == 0;
}

std::string real_path(const std::string& path) {
  std::unique_ptr<char, decltype(&free)> resolved(realpath(native_path(path).c_str(), nullptr),
                                                  &free);
  return resolved ? std::string(resolved.get()) : std::string();
}
