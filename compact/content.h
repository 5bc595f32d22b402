// Loading a file's whole content for the compact build's search.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class InputFile;

// A file's content, owned for the search of that file.
struct FileContent {
  std::unique_ptr<char[]> data;
  size_t size = 0;  // bytes read; 0 when there is nothing to search
};

// Reads the whole of `file`, open for reading, in one read. An empty file, or
// one whose size cannot be taken, gives no content; a short read gives the
// bytes actually read. When the content cannot be allocated, the run ends
// with an error naming `path` and the size.
FileContent compact_load_file(InputFile* file, const std::string& path);
