// Depth-first walk of a directory tree, with path limits and link cycles handled.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/fs.h"

// What a walk does with one directory entry.
enum class EntryAction { kSkip, kDescend, kRead };

// The per-walk decisions and work. Directory paths end in a backslash. Paths
// are built from the names entries are shown by, save the path that opens a
// file, built from native names (see DirEntry).
class WalkVisitor {
 public:
  virtual ~WalkVisitor() = default;
  // Called with the pattern (directory followed by "*.*") before a directory
  // is listed, whether or not it can be listed.
  virtual void on_directory(const std::string& pattern) { (void)pattern; }
  // Decides what happens to `entry` of `directory`.
  virtual EntryAction classify(const std::string& directory,
                               const DirEntry& entry) = 0;
  // Called for each entry classified kRead, with its full path as shown and
  // the path that opens it (see InputFile::open).
  virtual void on_file(const std::string& path, const std::string& open_path,
                       const DirEntry& entry) = 0;
  // True when an entry whose name is shown only in part (DirEntry's
  // name_in_part) is descended into or read; false when it is skipped, as a
  // walk that takes names for content must.
  virtual bool takes_names_in_part() const { return false; }
};

// Walks `directory` (a path ending in a separator, or empty for the current
// directory) depth-first: each entry is handled as it is listed, a
// subdirectory is walked at once as "directory + name + \", a file's path is
// "directory + name". A built path longer than max_path_length() is never
// truncated: a warning names it and the entry is skipped. So is an entry to
// descend into or read whose name a built path cannot carry (see
// unreachable_name_reason), since that path would name another entry. An
// entry whose name is shown in part is warned of ("name outside the ANSI code
// page, shown in part: " and its path), or skipped with a warning unless the
// visitor takes such names. A directory already on the current path of the
// walk (a link cycle) is not entered again. `directory` is given in the form
// the file functions take, as the command line gives it; the paths built are
// shown from to_shown_name of it, so its own name is never warned of.
void walk_tree(const std::string& directory, WalkVisitor& visitor);

// Walks as walk_tree above does, making the same calls of `visitor` in the
// same order on the calling thread, with the same warnings at the same
// points, while `helpers` other threads list ahead the directories the walk
// is about to enter, in the order it will enter them. At most a bounded
// number of entries are held ahead, so memory does not grow with the tree.
// With no helpers it is walk_tree above: each directory is listed as the
// walk enters it.
void walk_tree(const std::string& directory, WalkVisitor& visitor, unsigned helpers);

// Sets `*stopping` under `mutex`, wakes the threads waiting on `wake` to see
// it, and joins each of `threads`: the end of a pool of helper threads.
void stop_threads(std::mutex& mutex, bool* stopping, std::condition_variable& wake,
                  std::vector<std::thread>* threads);
