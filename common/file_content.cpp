// Reading a file whole, with an allocation failure reported rather than crashed on.
#include "common/file_content.h"

#include <limits>
#include <new>

#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/file.h"

namespace {

// An uninitialised buffer of `size` bytes, or null when it cannot be had.
std::unique_ptr<unsigned char[]> allocate(uint64_t size) {
  if (size > std::numeric_limits<size_t>::max())
    return nullptr;
  return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[size]);
}

}  // namespace

void load_file(InputFile& file, const std::string& path, uint64_t size, FileContent* content) {
  if (size > content->capacity_) {
    content->buffer_.reset();  // the old buffer goes before the new one is asked for
    content->capacity_ = 0;
    content->buffer_ = allocate(size);
    if (!content->buffer_)
      fatal("cannot allocate %llu bytes for the content of %s",
            static_cast<unsigned long long>(size), native_path(path).c_str());
    content->capacity_ = size;
  }
  content->size_ = file.read_from_start(reinterpret_cast<char*>(content->buffer_.get()),
                                        static_cast<size_t>(size));
}

bool load_whole_file(InputFile& file, const std::string& path, FileContent* content) {
  int64_t size = file.size();
  if (size <= 0) {
    content->size_ = 0;
    return false;
  }
  load_file(file, path, static_cast<uint64_t>(size), content);
  return true;
}
