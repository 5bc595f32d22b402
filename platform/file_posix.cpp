// Binary file reading on POSIX; only regular files are opened, without blocking.
#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/directory.h"

namespace {

FILE* stream(void* handle) { return static_cast<FILE*>(handle); }

// Opens without blocking so that a FIFO put in a file's place never hangs the
// walk, and refuses anything that is not a regular file.
int open_regular_file(const std::string& path) {
  int fd = ::open(native_path(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

InputFile::~InputFile() { close(); }

bool InputFile::open(const std::string& path) {
  close();
  int fd = open_regular_file(path);
  if (fd < 0)
    return false;
  stream_ = fdopen(fd, "rb");
  if (!stream_) {
    ::close(fd);
    return false;
  }
  return true;
}

int64_t InputFile::size() {
  if (fseeko(stream(stream_), 0, SEEK_END) != 0)
    return -1;
  return static_cast<int64_t>(ftello(stream(stream_)));
}

size_t InputFile::read_from_start(char* buffer, size_t count) {
  if (fseeko(stream(stream_), 0, SEEK_SET) != 0)
    return 0;
  return fread(buffer, 1, count, stream(stream_));
}

void InputFile::close() {
  if (stream_)
    fclose(stream(stream_));
  stream_ = nullptr;
}
