// Directory listing and directory identity.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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

// Lists the directory that a pattern names: a directory path, in the form
// the file functions take (see DirEntry), followed by "*.*". A
// backslash in the path is a path separator on every platform.
// On Windows entries come in the order the file system returns them. Elsewhere
// "." and ".." come first, then the other entries in NTFS order (by name with
// ASCII letters upper-cased, ties broken by the raw bytes), and only regular
// files and directories are listed, links followed.
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

// Fills `id` for the directory at `path`, in the form the file functions take
// (links followed); false if `path` is not a directory or its identity cannot
// be read.
bool directory_identity(const std::string& path, DirectoryId* id);

// True when `path`, in the form the file functions take (as the command line
// gives it: UTF-8 on Windows), names an existing directory (links followed).
bool is_directory(const std::string& path);

// `path`, in the form the file functions take (UTF-8 on Windows, as the
// command line gives it), as names are shown: on Windows in the ANSI code
// page, with '?' for each character it lacks; unchanged elsewhere.
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
