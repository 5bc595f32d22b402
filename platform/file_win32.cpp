// Binary file reading through the C runtime, with 64-bit sizes and wide-character names.
#include "platform/file.h"

#include <cstdio>

#include "platform/wide_win32.h"

namespace {

FILE* stream(void* handle) { return static_cast<FILE*>(handle); }

}  // namespace

bool opens_for_reading(const std::string& path) { return InputFile().open(path); }

InputFile::~InputFile() { close(); }

bool InputFile::open(const std::string& path) {
  close();
  stream_ = _wfopen(wide_from_utf8(path).c_str(), L"rb");
  return stream_ != nullptr;
}

int64_t InputFile::size() {
  if (_fseeki64(stream(stream_), 0, SEEK_END) != 0)
    return -1;
  return _ftelli64(stream(stream_));
}

size_t InputFile::read_from_start(char* buffer, size_t count) {
  if (_fseeki64(stream(stream_), 0, SEEK_SET) != 0)
    return 0;
  return fread(buffer, 1, count, stream(stream_));
}

void InputFile::close() {
  if (stream_)
    fclose(stream(stream_));
  stream_ = nullptr;
}
