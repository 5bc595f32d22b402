// The file system through the Win32 wide-character functions: names shown in ANSI, opened in UTF-8; a reparse point taken for a link and never written through.
#include "platform/fs.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "platform/win32/wide.h"

namespace {

// A handle from CreateFileW, closed when it goes.
struct Handle {
  HANDLE handle;
  ~Handle() {
    if (handle != INVALID_HANDLE_VALUE)
      CloseHandle(handle);
  }
};

// Opens `path`, file or directory, only to read its metadata or name.
HANDLE open_for_metadata(const std::string& path) {
  // Backup semantics let a directory be opened.
  return CreateFileW(wide_from_utf8(path).c_str(), 0,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

DWORD attributes_of(const std::string& path) {
  return GetFileAttributesW(wide_from_utf8(path.empty() ? "." : path).c_str());
}

bool is_dot_or_dot_dot(const WIN32_FIND_DATAW& data) {
  const wchar_t* name = data.cFileName;
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

}  // namespace

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
  do {
    if (!impl_->has_pending && !FindNextFileW(impl_->handle, &impl_->data))
      return false;
    impl_->has_pending = false;
  } while (is_dot_or_dot_dot(impl_->data));
  const std::wstring name = impl_->data.cFileName;
  entry->name = ansi_from_wide(name, &entry->name_in_part);
  entry->native_name = utf8_from_wide(name);
  entry->is_directory = (impl_->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return true;
}

bool directory_identity(const std::string& path, DirectoryId* id) {
  Handle file{open_for_metadata(path)};
  BY_HANDLE_FILE_INFORMATION info;
  if (file.handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.handle, &info) ||
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  id->device = info.dwVolumeSerialNumber;
  id->index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

bool is_directory(const std::string& path) {
  DWORD attributes = attributes_of(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string to_shown_name(const std::string& path) {
  bool in_part = false;
  return ansi_from_wide(wide_from_utf8(path), &in_part);
}

const char* unreachable_name_reason(const std::string&) { return nullptr; }

size_t max_path_length() { return MAX_PATH - 1; }

char native_separator() { return '\\'; }

std::string native_path(const std::string& path) { return path; }

bool opens_for_reading(const std::string& path) { return InputFile().open(path); }

bool InputFile::open(const std::string& path) {
  close();
  // The sharing of a C runtime open for reading: others may read and write meanwhile.
  HANDLE file = CreateFileW(wide_from_utf8(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  handle_ = reinterpret_cast<intptr_t>(file);
  LARGE_INTEGER size;
  if (file != INVALID_HANDLE_VALUE && GetFileSizeEx(file, &size))
    size_ = size.QuadPart;
  return file != INVALID_HANDLE_VALUE;
}

size_t InputFile::read_at(uint64_t offset, char* buffer, size_t count) {
  size_t done = 0;
  while (handle_ != -1 && done < count && offset + done <= INT64_MAX) {
    const uint64_t at = offset + done;
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(at);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    const DWORD asked = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer + done, asked, &got, &where) ||
        got == 0)
      break;
    done += got;
  }
  return done;
}

void InputFile::close() {
  if (handle_ != -1)
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = -1;
  size_ = -1;
}

std::optional<uint64_t> file_size(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide_from_utf8(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool path_exists(const std::string& path) { return attributes_of(path) != INVALID_FILE_ATTRIBUTES; }

EntryKind entry_kind(const std::string& path) {
  DWORD attributes = GetFileAttributesW(wide_from_utf8(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return EntryKind::kMissing;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
    return EntryKind::kLink;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return EntryKind::kDirectory;
  return (attributes & FILE_ATTRIBUTE_DEVICE) ? EntryKind::kOther : EntryKind::kFile;
}

bool make_directory(const std::string& path) {
  return CreateDirectoryW(wide_from_utf8(path).c_str(), nullptr) != 0;
}

bool list_entry_names(const std::string& path, std::vector<std::string>* names) {
  std::wstring pattern = wide_from_utf8(path);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
    pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE found = FindFirstFileW(pattern.c_str(), &data);
  if (found == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_FILE_NOT_FOUND && (names->clear(), true);
  struct Close {
    HANDLE handle;
    ~Close() { FindClose(handle); }
  } close{found};
  names->clear();
  do {
    if (!is_dot_or_dot_dot(data))
      names->push_back(utf8_from_wide(data.cFileName));
  } while (FindNextFileW(found, &data));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

bool write_file(const std::string& path, std::string_view bytes) {
  EntryKind kind = entry_kind(path);
  if (kind != EntryKind::kMissing && kind != EntryKind::kFile)
    return false;
  Handle file{CreateFileW(wide_from_utf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE)
    return false;
  for (size_t done = 0; done < bytes.size();) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

bool remove_file(const std::string& path) {
  return entry_kind(path) == EntryKind::kFile && DeleteFileW(wide_from_utf8(path).c_str()) != 0;
}

std::string real_path(const std::string& path) {
  Handle file{open_for_metadata(path)};
  if (file.handle == INVALID_HANDLE_VALUE)
    return "";
  std::wstring buffer(32768, L'\0');
  DWORD length = GetFinalPathNameByHandleW(file.handle, buffer.data(),
                                           static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED);
  if (length == 0 || length >= buffer.size())
    return "";
  buffer.resize(length);
  if (buffer.starts_with(L"\\\\?\\UNC\\"))
    buffer = L"\\\\" + buffer.substr(8);
  else if (buffer.starts_with(L"\\\\?\\"))
    buffer = buffer.substr(4);
  return utf8_from_wide(buffer);
}
