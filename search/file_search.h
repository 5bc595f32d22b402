// One walk of the game tree that reads each searchable file once and searches it for every name.
#pragma once

#include <string>

#include "search/tree_search.h"

class NameSearch;

// Walks `game_root` (ending in a separator, or empty for the current
// directory) depth-first with the searchable-file filter. Each file that
// opens is read whole and, unless empty, searched with `search` (its offsets
// are those of find_all), on search_threads() threads, and handed to `sink`
// in walk order on the calling thread; `output` says whether `sink` writes
// to standard output meanwhile.
void search_tree(const std::string& game_root, const NameSearch& search, const ResultSink& sink,
                 SinkOutput output = SinkOutput::kWrites);
