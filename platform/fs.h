// The file system: directory listing and identity, reading files, what is at a path, and the page folder's writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Every path below is in the form the file functions take: on Windows UTF-8,
// as the command line gives it (see DirEntry::native_name), elsewhere bytes
// as they are. A backslash is a path separator on every platform.

// One entry of a directory listing. Its name comes in two forms: the one
// shown and filtered on, and the one that opens it. On POSIX they are the
// same; on Windows the first is in the ANSI code page, the second in UTF-8.
struct DirEntry {
  DirEntry() = default;
  // An entry whose name is also its native name, as every name is on POSIX.
  DirEntry(const std::string& bare_name, bool directory)
      : name(bare_name), is_directory(directory), native_name(bare_name) {}

  std::string name;            // bare name: on Windows in the ANSI code page, '?' for what it lacks
  bool is_directory = false;   // the FILE_ATTRIBUTE_DIRECTORY bit, links followed
  std::string native_name;     // bare name as the file functions take it: UTF-8 on Windows
  bool name_in_part = false;   // `name` shows `native_name` only in part (Windows only)
};

// Lists the directory that a pattern names: a directory path followed by
// "*.*". "." and ".." are never listed. On Windows entries come in the order
// the file system returns them. Elsewhere they come in NTFS order (by name
// with ASCII letters upper-cased, ties broken by the raw bytes), and only
// regular files and directories are listed, links followed.
class DirectoryListing {
 public:
  explicit DirectoryListing(const std::string& pattern);
  ~DirectoryListing();
  DirectoryListing(const DirectoryListing&) = delete;
  DirectoryListing& operator=(const DirectoryListing&) = delete;

  // False when the directory cannot be listed.
  bool ok() const;
  // Fills `entry` with the next entry; false when there is none.
  bool next(DirEntry* entry);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Identity of a directory, equal for two paths that reach the same directory.
struct DirectoryId {
  uint64_t device = 0;
  uint64_t index = 0;
  bool operator==(const DirectoryId&) const = default;
};

// Fills `id` for the directory at `path` (links followed); false if `path`
// is not a directory or its identity cannot be read.
bool directory_identity(const std::string& path, DirectoryId* id);

// True when `path` names an existing directory (links followed).
bool is_directory(const std::string& path);

// `path` as names are shown: on Windows in the ANSI code page, with '?' for
// each character it lacks; unchanged elsewhere.
std::string to_shown_name(const std::string& path);

// Why a path built from the entry name `name` would not reach that entry, or
// null when it would: outside Windows, "backslash in a name", since every
// path the programs build takes a backslash for a separator. On Windows null:
// every entry is reached by its native name.
const char* unreachable_name_reason(const std::string& name);

// The longest path, in characters without the terminator, that the platform's
// file functions accept: 259 on Windows (MAX_PATH), PATH_MAX - 1 elsewhere.
size_t max_path_length();

// The path separator that ends a directory path given on the command line.
char native_separator();

// `path` as the platform writes it, for messages: backslashes become slashes
// where the slash is the separator.
std::string native_path(const std::string& path);

// A file opened for binary reading, closed when the object goes.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile() { close(); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens `path` for reading. False when it cannot be opened; elsewhere than
  // Windows also when it is not a regular file, so a FIFO or device is never
  // waited on.
  bool open(const std::string& path);
  // The size in bytes the file had when it was opened; -1 when it could not
  // be taken.
  int64_t size() const { return size_; }
  // Reads from byte `offset` of the file into `buffer` until `count` bytes
  // are read or the file ends, and returns how many were read: none past the
  // end, fewer than `count` only at the end or on a read error.
  size_t read_at(uint64_t offset, char* buffer, size_t count);
  // Reads up to `count` bytes from the start of the file (see read_at).
  size_t read_from_start(char* buffer, size_t count) { return read_at(0, buffer, count); }
  // Closes the file, if it is open.
  void close();

 private:
  // The open file: a descriptor on POSIX, a HANDLE on Windows; -1 when closed.
  intptr_t handle_ = -1;
  int64_t size_ = -1;
};

// True when `path` opens for reading as InputFile::open would open it; the
// file is closed again at once and nothing is read.
bool opens_for_reading(const std::string& path);

// The size in bytes of the regular file at `path`, read without opening it,
// links followed; none when it cannot be read or `path` names no regular file.
std::optional<uint64_t> file_size(const std::string& path);

// True when a file, directory or anything else exists at `path` (links
// followed: a dangling link does not count); the empty path is the current
// directory. Tells a missing game root from one that is not a directory.
bool path_exists(const std::string& path);

// What is at a path, links not followed.
enum class EntryKind { kMissing, kFile, kDirectory, kLink, kOther };

// What is at `path`; a link (a symbolic link, or on Windows any reparse
// point) is kLink, whatever it points to.
EntryKind entry_kind(const std::string& path);

// Creates the directory `path`, whose parent exists; false when it cannot.
bool make_directory(const std::string& path);

// Fills `names` with the native names of every entry of the directory `path`
// but "." and "..", of whatever kind; false when it cannot be listed.
bool list_entry_names(const std::string& path, std::vector<std::string>* names);

// Creates `path`, or replaces the regular file there, with `bytes`; false
// when it cannot, and when `path` is a link, which is never written through.
bool write_file(const std::string& path, std::string_view bytes);

// Removes the regular file `path` (not a link's target); false when it cannot.
bool remove_file(const std::string& path);

// The absolute path of the existing `path`, links resolved, in the same
// form; empty when it cannot be found.
std::string real_path(const std::string& path);
