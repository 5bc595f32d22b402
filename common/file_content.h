// A game file's content, read whole into a buffer that is kept for the next file.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class InputFile;

// The bytes of one file at a time. The buffer grows to the largest file
// loaded and is reused, so a walk allocates only when a file is larger than
// every one before it.
class FileContent {
 public:
  // The bytes read; fewer than the file's size after a short read.
  std::span<const unsigned char> bytes() const { return {buffer_.get(), size_}; }
  // The same bytes as characters.
  const char* chars() const { return reinterpret_cast<const char*>(buffer_.get()); }
  uint64_t size() const { return size_; }

 private:
  friend void load_file(InputFile& file, const std::string& path, uint64_t size,
                        FileContent* content);
  friend bool load_whole_file(InputFile& file, const std::string& path, FileContent* content);
  std::unique_ptr<unsigned char[]> buffer_;
  uint64_t capacity_ = 0;
  uint64_t size_ = 0;
};

// Reads `file` (open, `size` > 0 bytes long by its size()) from its start in
// one read into `content`. After a short read the content is the bytes
// actually read, nothing more. When the buffer cannot be allocated, the run
// ends with a message naming `path` and `size` and exit status 1.
void load_file(InputFile& file, const std::string& path, uint64_t size, FileContent* content);

// Takes the size of `file` (open) and loads it as load_file does. False, with
// the content empty, when the file is empty or its size cannot be taken.
bool load_whole_file(InputFile& file, const std::string& path, FileContent* content);
