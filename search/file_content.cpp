// Reading a file whole, with an allocation failure reported rather than crashed on.
#include "search/file_content.h"

#include <limits>
#include <new>

#include "text/console.h"
#include "platform/fs.h"

namespace {

// An uninitialised buffer of `size` bytes, or null when it cannot be had.
std::unique_ptr<unsigned char[]> allocate(uint64_t size) {
  if (size > std::numeric_limits<size_t>::max())
    return nullptr;
  return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[size]);
}

}  // namespace

bool FileContent::read(InputFile& file, uint64_t size) {
  size_ = 0;
  if (size > capacity_) {
    buffer_.reset();  // the old buffer goes before the new one is asked for
    capacity_ = 0;
    buffer_ = allocate(size);
    if (!buffer_)
      return false;
    capacity_ = size;
  }
  size_ = file.read_from_start(reinterpret_cast<char*>(buffer_.get()), static_cast<size_t>(size));
  return true;
}

LoadResult load_whole_file(InputFile& file, FileContent* content, uint64_t* size) {
  int64_t file_size = file.size();
  *size = file_size > 0 ? static_cast<uint64_t>(file_size) : 0;
  if (file_size <= 0) {
    content->clear();
    return LoadResult::kEmpty;
  }
  return content->read(file, *size) ? LoadResult::kLoaded : LoadResult::kNoMemory;
}

void fail_to_hold(const std::string& path, uint64_t size) {
  fatal("cannot allocate %llu bytes for the content of %s", static_cast<unsigned long long>(size),
        native_path(path).c_str());
}
