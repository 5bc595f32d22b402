// Reading a file whole, with an allocation failure reported rather than crashed on.
#include "search/file_content.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "text/console.h"
#include "text/encode.h"
#include "platform/fs.h"

void FileContent::FreeBytes::operator()(unsigned char* bytes) const { std::free(bytes); }

bool FileContent::read(InputFile& file, uint64_t size) {
  clear();
  if (size > capacity_) {
    if (size > std::numeric_limits<size_t>::max())
      return false;
    // Growing in place keeps the buffer's pages: on Linux a large block is
    // moved by remapping it, and only new pages are taken from the system,
    // which zeroes each first. Freed and taken anew for every larger file,
    // they cost Texsift-compact a tenth of its time.
    void* grown = std::realloc(buffer_.get(), static_cast<size_t>(size));
    if (grown) {
      (void)buffer_.release();
    } else {
      buffer_.reset();  // the old buffer goes before a new one is asked for
      capacity_ = 0;
      grown = std::malloc(static_cast<size_t>(size));
      if (!grown)
        return false;
    }
    buffer_.reset(static_cast<unsigned char*>(grown));
    capacity_ = size;
  }
  size_ = file.read_from_start(reinterpret_cast<char*>(buffer_.get()), static_cast<size_t>(size));
  return true;
}

void FileContent::read_later(InputFile& file, uint64_t size) {
  clear();
  later_ = &file;
  later_size_ = size;
}

bool FileContent::hold_whole() {
  if (!later_)
    return true;
  InputFile& file = *later_;
  const uint64_t size = later_size_;
  if (read(file, size))
    return true;
  unheld_ = true;
  size_ = size;
  return false;
}

PieceReader FileContent::pieces() {
  return [this](unsigned char* into, size_t count) {
    if (size_ >= later_size_)
      return size_t{0};
    count = static_cast<size_t>(std::min<uint64_t>(count, later_size_ - size_));
    size_t got = later_->read_at(size_, reinterpret_cast<char*>(into), count);
    size_ += got;
    return got;
  };
}

void find_in_content(const NameRule& rule, FileContent& content, FoundNames* found) {
  if (content.in_pieces())
    find_in_pieces(rule, content.pieces(), kPieceBytes, content.window_buffer(), found);
  else
    rule.find_all(content.bytes(), found);
}

uint64_t content_hash_of(FileContent& content) {
  if (!content.in_pieces())
    return content_hash({content.chars(), static_cast<size_t>(content.size())});
  thread_local std::vector<unsigned char> piece(kPieceBytes);
  const PieceReader read = content.pieces();
  ContentHash hash;
  // Every piece but the last is whole, as the hash needs.
  for (size_t got = piece.size(); got == piece.size();) {
    got = fill_piece(read, piece.data(), piece.size());
    hash.add({reinterpret_cast<const char*>(piece.data()), got});
  }
  return hash.value();
}

LoadResult load_file(InputFile& file, Reading reading, FileContent* content, uint64_t* size) {
  int64_t file_size = file.size();
  *size = file_size > 0 ? static_cast<uint64_t>(file_size) : 0;
  if (file_size <= 0) {
    content->clear();
    return LoadResult::kEmpty;
  }
  if (reading == Reading::kPiecesWhenLarge && *size > kWholeFileBytes) {
    content->read_later(file, *size);
    return LoadResult::kLoaded;
  }
  return content->read(file, *size) ? LoadResult::kLoaded : LoadResult::kNoMemory;
}

void fail_to_hold(const std::string& path, uint64_t size) {
  fatal("cannot allocate %llu bytes for the content of %s", static_cast<unsigned long long>(size),
        native_path(path).c_str());
}
