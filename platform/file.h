// Reading a file in binary mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file opened for binary reading, closed when the object goes.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens `path`, in the form the file functions take (see DirEntry),
  // for reading (a backslash is a path separator). False when it cannot be
  // opened; elsewhere than Windows also when it is not a regular file, so a
  // FIFO or device is never waited on.
  bool open(const std::string& path);
  // The size in bytes, taken by seeking to the end; -1 when it cannot be taken.
  int64_t size();
  // Reads up to `count` bytes from the start of the file into `buffer` in one
  // read and returns how many were read.
  size_t read_from_start(char* buffer, size_t count);
  // Closes the file, if it is open.
  void close();

 private:
  void* stream_ = nullptr;  // the C library's FILE
};

// True when `path` opens for reading as InputFile::open would open it; the
// file is closed again at once and nothing is read.
bool opens_for_reading(const std::string& path);
