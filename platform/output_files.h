// Writing the files of a page folder: kinds of entries without following links, and writes that never go through one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// What is at a path, links not followed.
enum class EntryKind { kMissing, kFile, kDirectory, kLink, kOther };

// Every path below is in the form the file functions take (see
// to_native_name), a backslash being a separator on every platform.

// What is at `path`; a link (a symbolic link, or on Windows any reparse
// point) is kLink, whatever it points to.
EntryKind entry_kind(const std::string& path);

// Creates the directory `path`, whose parent exists; false when it cannot.
bool make_directory(const std::string& path);

// Fills `names` with the bare names of every entry of the directory `path`
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
