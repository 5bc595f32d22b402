// Binary file reading on POSIX; only regular files are opened, without blocking.
#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/directory.h"

namespace {

FILE* stream(void* handle) { return static_cast<FILE*>(handle); }

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
// walk, and refuses anything that is not a regular file. Reads block again
// when `for_reading`.
int open_regular_file(const std::string& path, bool for_reading) {
  int fd = open_nonblocking(native_path(path));
  if (fd < 0)
    return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  if (for_reading)
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

bool opens_for_reading(const std::string& path) {
  int fd = open_regular_file(path, false);
  if (fd < 0)
    return false;
  ::close(fd);
  return true;
}

InputFile::~InputFile() { close(); }

bool InputFile::open(const std::string& path) {
  close();
  int fd = open_regular_file(path, true);
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
