// The references one walk of the game tree finds, for every catalogue name at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/file_pool.h"
#include "search/game_root.h"

// One file that holds a name, and where the name first occurs in it.
struct Reference {
  uint32_t file;    // index into References::paths
  uint64_t offset;  // of the first whole-name occurrence
};

// Every reference in the searchable files of a tree. Memory grows with the
// number of references, not with the bytes searched.
struct References {
  std::vector<std::string> paths;            // files holding a name, from the game root, in walk order
  std::vector<std::string> native_paths;     // the same as the file functions name them, for records
  std::vector<std::vector<Reference>> hits;  // per name searched: the files holding it, in walk order
  uint64_t files_searched = 0;               // searchable files that opened
  uint64_t bytes_searched = 0;               // the bytes read from them
};

// Walks `game_root` once, reading each searchable file once and searching it
// for all of `names` (which may repeat) in one pass. Hits come in the order
// the per-name walks would meet them. With `passed_over`, the walk lists
// there the files it names (see PassedOver).
References find_references(const std::string& game_root,
                           const std::vector<std::string_view>& names, const GamePaths& paths,
                           PassedOver* passed_over = nullptr);
