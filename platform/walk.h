// Depth-first walk of a directory tree, with path limits and link cycles handled.
#pragma once

#include <string>
#include <vector>

#include "platform/directory.h"

// What a walk does with one directory entry.
enum class EntryAction { kSkip, kDescend, kRead };

// The per-walk decisions and work. Directory paths end in a backslash.
class WalkVisitor {
 public:
  virtual ~WalkVisitor() = default;
  // Called with the pattern (directory followed by "*.*") before a directory
  // is listed, whether or not it can be listed.
  virtual void on_directory(const std::string& pattern) { (void)pattern; }
  // Decides what happens to `entry` of `directory`.
  virtual EntryAction classify(const std::string& directory,
                               const DirEntry& entry) = 0;
  // Called for each entry classified kRead, with its full path.
  virtual void on_file(const std::string& path, const DirEntry& entry) = 0;
};

// Walks `directory` (a path ending in a separator, or empty for the current
// directory) depth-first: each entry is handled as it is listed, a
// subdirectory is walked at once as "directory + name + \", a file's path is
// "directory + name". A built path longer than max_path_length() is never
// truncated: a warning names it and the entry is skipped. So is an entry to
// descend into or read whose name a built path cannot carry (see
// unreachable_name_reason), since that path would name another entry. A
// directory already on the current path of the walk (a link cycle) is not
// entered again.
void walk_tree(const std::string& directory, WalkVisitor& visitor);
