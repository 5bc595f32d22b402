// A game file's content: read whole into a buffer kept for the next file, or read in pieces as it is searched.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "match/found_names.h"

class InputFile;

// The bytes of one file at a time. Read whole, they go into a buffer that
// grows to the largest file loaded and is reused, so a walk allocates only
// when a file is larger than every one before it. Read in pieces, only a
// piece and what the search keeps of the last one are held.
class FileContent {
 public:
  // The bytes read whole; fewer than the file's size after a short read.
  std::span<const unsigned char> bytes() const { return {buffer_.get(), size_}; }
  // The same bytes as characters.
  const char* chars() const { return reinterpret_cast<const char*>(buffer_.get()); }
  // The bytes read: whole, or in pieces so far.
  uint64_t size() const { return size_; }

  // Reads up to `size` bytes of `file` from its start in one read. False,
  // with the content empty, when a buffer of `size` bytes cannot be had.
  bool read(InputFile& file, uint64_t size);
  // Leaves up to `size` bytes of `file` (open until the content is done
  // with) to be read in pieces, through pieces().
  void read_later(InputFile& file, uint64_t size);
  // True after read_later, until the next read or clear.
  bool in_pieces() const { return later_ != nullptr; }
  // Gives the next bytes of the file left by read_later, none past the size
  // it was given, and counts them in size().
  PieceReader pieces();
  // Reads whole a file left to be read in pieces, for a work that needs all
  // its bytes at once; nothing for a content read whole. False, and the
  // content is marked unheld, when its buffer cannot be had.
  bool hold_whole();
  // True when hold_whole could not hold the file.
  bool unheld() const { return unheld_; }
  // The buffer that a search in pieces keeps its windows in, reused.
  std::vector<unsigned char>* window_buffer() { return &windows_; }
  // Empties the content; the buffers are kept.
  void clear() {
    size_ = 0;
    later_ = nullptr;
    unheld_ = false;
  }

 private:
  // Freed with std::free: the buffer grows with std::realloc.
  struct FreeBytes {
    void operator()(unsigned char* bytes) const;
  };
  std::unique_ptr<unsigned char[], FreeBytes> buffer_;
  uint64_t capacity_ = 0;
  uint64_t size_ = 0;
  InputFile* later_ = nullptr;  // the file read in pieces
  uint64_t later_size_ = 0;     // its size when it was opened
  bool unheld_ = false;
  std::vector<unsigned char> windows_;
};

// Files larger than this are read in pieces when their search can take
// them: files no larger are read whole, as quickly as in pieces.
constexpr uint64_t kWholeFileBytes = uint64_t{1} << 20;

// The bytes of a piece: small enough to stay in the processor's cache
// between the read that writes them and the search that reads them.
constexpr size_t kPieceBytes = size_t{128} << 10;

// Searches `content` with `rule`: the bytes read whole, or the pieces of a
// file left to be read in pieces (for a rule with a window_overlap()).
void find_in_content(const NameRule& rule, FileContent& content, FoundNames* found);

// How loading a whole file went.
enum class LoadResult {
  kEmpty,     // the file is empty, or its size cannot be taken: nothing was read
  kLoaded,    // the content holds the bytes read
  kNoMemory,  // no buffer of the file's size could be had: nothing was read
};

// content_hash of `content`: of its bytes read whole, or of the pieces of a
// file left to be read in pieces, read now and never held whole.
uint64_t content_hash_of(FileContent& content);

// How a file's content is to be read: whole, or in pieces when it is larger
// than kWholeFileBytes.
enum class Reading { kWhole, kPiecesWhenLarge };

// Takes the size of `file` (open) and reads it whole into `content`, or
// leaves it to be read in pieces as `reading` allows (kLoaded, nothing read
// yet); on kNoMemory `*size` is the size that could not be held.
LoadResult load_file(InputFile& file, Reading reading, FileContent* content, uint64_t* size);

// Ends the run with status 1 and a message that the content of the file at
// `path`, `size` bytes, cannot be held in memory.
[[noreturn]] void fail_to_hold(const std::string& path, uint64_t size);
