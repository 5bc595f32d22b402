// One walk of the game tree that reads each searchable file once and searches it for every name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class NameSearch;

// What the search of one file found.
struct FileResult {
  std::string path;       // the file's full path, as the walk built it
  std::string name;       // its bare name
  bool searched = false;  // false when the file was empty: nothing was read
  uint64_t size = 0;      // the bytes read and searched
  int64_t elapsed = 0;    // performance-counter counts the search of its bytes took
  std::vector<std::optional<uint64_t>> offsets;  // per name searched: its first whole-name occurrence
};

// Takes the results of a search_tree walk, in walk order.
class FileResultSink {
 public:
  virtual ~FileResultSink() = default;
  // Called once for every searchable file that opens.
  virtual void on_file(const FileResult& result) = 0;
};

// Walks `game_root` (ending in a separator, or empty for the current
// directory) depth-first with the searchable-file filter. Each file that
// opens is read whole and searched with `search`, its reading left out of
// the time taken, and handed to `sink`.
void search_tree(const std::string& game_root, const NameSearch& search, FileResultSink& sink);
