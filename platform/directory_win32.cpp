// Directory listing and identity through the Win32 wide-character functions; names shown in ANSI.
#include "platform/directory.h"

#include <windows.h>

#include "platform/wide_win32.h"

struct DirectoryListing::Impl {
  HANDLE handle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW data;
  bool has_pending = false;  // `data` holds the first entry, not yet returned
};

DirectoryListing::DirectoryListing(const std::string& pattern)
    : impl_(std::make_unique<Impl>()) {
  impl_->handle = FindFirstFileW(wide_from_utf8(pattern).c_str(), &impl_->data);
  impl_->has_pending = impl_->handle != INVALID_HANDLE_VALUE;
}

DirectoryListing::~DirectoryListing() {
  if (impl_->handle != INVALID_HANDLE_VALUE)
    FindClose(impl_->handle);
}

bool DirectoryListing::ok() const { return impl_->handle != INVALID_HANDLE_VALUE; }

bool DirectoryListing::next(DirEntry* entry) {
  if (impl_->handle == INVALID_HANDLE_VALUE)
    return false;
  if (!impl_->has_pending && !FindNextFileW(impl_->handle, &impl_->data))
    return false;
  impl_->has_pending = false;
  const std::wstring name = impl_->data.cFileName;
  entry->name = ansi_from_wide(name, &entry->name_in_part);
  entry->native_name = utf8_from_wide(name);
  entry->is_directory = (impl_->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return true;
}

namespace {

// RAII over a handle from CreateFileW.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE)
      CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

bool directory_identity(const std::string& path, DirectoryId* id) {
  // Backup semantics let a directory be opened; the handle only reads metadata.
  FileHandle handle(CreateFileW(wide_from_utf8(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (handle.get() == INVALID_HANDLE_VALUE ||
      !GetFileInformationByHandle(handle.get(), &info) ||
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  id->device = info.dwVolumeSerialNumber;
  id->index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

bool is_directory(const std::string& path) {
  DWORD attributes = GetFileAttributesW(wide_from_utf8(path.empty() ? "." : path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string to_shown_name(const std::string& path) {
  bool in_part = false;
  return ansi_from_wide(wide_from_utf8(path), &in_part);
}

const char* unreachable_name_reason(const std::string&) { return nullptr; }

size_t max_path_length() { return MAX_PATH - 1; }

char native_separator() { return '\\'; }

std::string native_path(const std::string& path) { return path; }
