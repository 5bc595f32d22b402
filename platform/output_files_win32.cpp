// Page folder writes on Windows: attributes (a reparse point is a link), CreateFileW without following one.
#include "platform/output_files.h"

#include <windows.h>

#include <algorithm>

#include "platform/wide_win32.h"

namespace {

std::wstring wide_path(const std::string& path) { return wide_from_utf8(path); }

// A handle, closed when the object goes.
struct Handle {
  HANDLE handle;
  ~Handle() {
    if (handle != INVALID_HANDLE_VALUE)
      CloseHandle(handle);
  }
};

}  // namespace

EntryKind entry_kind(const std::string& path) {
  DWORD attributes = GetFileAttributesW(wide_path(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return EntryKind::kMissing;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
    return EntryKind::kLink;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return EntryKind::kDirectory;
  return (attributes & FILE_ATTRIBUTE_DEVICE) ? EntryKind::kOther : EntryKind::kFile;
}

bool make_directory(const std::string& path) {
  return CreateDirectoryW(wide_path(path).c_str(), nullptr) != 0;
}

bool list_entry_names(const std::string& path, std::vector<std::string>* names) {
  std::wstring pattern = wide_path(path);
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
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..")
      names->push_back(utf8_from_wide(name));
  } while (FindNextFileW(found, &data));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

bool write_file(const std::string& path, std::string_view bytes) {
  EntryKind kind = entry_kind(path);
  if (kind != EntryKind::kMissing && kind != EntryKind::kFile)
    return false;
  Handle file{CreateFileW(wide_path(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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
  return entry_kind(path) == EntryKind::kFile && DeleteFileW(wide_path(path).c_str()) != 0;
}

std::string real_path(const std::string& path) {
  Handle file{CreateFileW(wide_path(path).c_str(), 0,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
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
