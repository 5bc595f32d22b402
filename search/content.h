// A game file's content, read whole into memory for searching.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "search/matcher.h"

class InputFile;

// The bytes of one file, owned for the search of that file.
class FileContent {
 public:
  FileContent(std::unique_ptr<unsigned char[]> data, uint64_t size)
      : data_(std::move(data)), size_(size) {}
  // The bytes read; fewer than the file's size after a short read.
  Bytes bytes() const { return Bytes(data_.get(), size_); }
  uint64_t size() const { return size_; }

 private:
  std::unique_ptr<unsigned char[]> data_;
  uint64_t size_;
};

// Reads `file` (open, `size` bytes long by its size(), size > 0) from its
// start in one read into a buffer of `size` bytes. After a short read the
// content is the bytes actually read, nothing more. When the buffer cannot be
// allocated, the run ends with a message naming `path` and `size` and exit
// status 1.
FileContent load_file(InputFile& file, const std::string& path, uint64_t size);
