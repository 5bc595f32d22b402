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

  // Reads up to `size` bytes of `file` from its start in one read. False,
  // with the content empty, when a buffer of `size` bytes cannot be had.
  bool read(InputFile& file, uint64_t size);
  // Empties the content; the buffer is kept.
  void clear() { size_ = 0; }

 private:
  std::unique_ptr<unsigned char[]> buffer_;
  uint64_t capacity_ = 0;
  uint64_t size_ = 0;
};

// How loading a whole file went.
enum class LoadResult {
  kEmpty,     // the file is empty, or its size cannot be taken: nothing was read
  kLoaded,    // the content holds the bytes read
  kNoMemory,  // no buffer of the file's size could be had: nothing was read
};

// Takes the size of `file` (open) and reads it whole into `content`; on
// kNoMemory `*size` is the size that could not be held.
LoadResult load_whole_file(InputFile& file, FileContent* content, uint64_t* size);

// Ends the run with status 1 and a message that the content of the file at
// `path`, `size` bytes, cannot be held in memory.
[[noreturn]] void fail_to_hold(const std::string& path, uint64_t size);
