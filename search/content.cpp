// Reading a file whole, with an allocation failure reported rather than crashed on.
#include "search/content.h"

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

FileContent load_file(InputFile& file, const std::string& path, uint64_t size) {
  std::unique_ptr<unsigned char[]> data = allocate(size);
  if (!data)
    fatal("cannot allocate %llu bytes for the content of %s", static_cast<unsigned long long>(size),
          native_path(path).c_str());
  size_t read = file.read_from_start(reinterpret_cast<char*>(data.get()), size);
  return FileContent(std::move(data), read);
}
