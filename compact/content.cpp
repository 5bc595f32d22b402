// Whole-file loading with 64-bit sizes; a file too large to hold ends the run.
#include "compact/content.h"

#include <new>

#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/file.h"

FileContent compact_load_file(InputFile* file, const std::string& path) {
  FileContent content;
  int64_t size = file->size();
  if (size <= 0)
    return content;
  size_t bytes = static_cast<size_t>(size);
  content.data.reset(new (std::nothrow) char[bytes]);
  if (!content.data)
    fatal("cannot allocate %lld bytes for the content of %s",
          static_cast<long long>(size), native_path(path).c_str());
  content.size = file->read_from_start(content.data.get(), bytes);
  return content;
}
