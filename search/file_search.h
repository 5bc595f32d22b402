// Searching the files of a walk for names by one rule, each file read once, on every core.
#pragma once

#include <functional>
#include <string>

#include "match/found_names.h"
#include "search/file_pool.h"

// What the search of one file found: the file as the pool read it, and the
// names in its content. `found` holds only when the file was searched.
struct FileResult {
  const PoolFile& file;
  const FoundNames& found;
};

// Takes each file's result, in walk order, on the thread that searches.
using ResultSink = std::function<void(const FileResult& result)>;

// Walks `root` (ending in a separator, or empty for the current directory)
// depth-first with `filter`. Each file that opens is read (in pieces when it
// is large and `rule` has a window_overlap(), whole otherwise) and, unless
// empty, searched with `rule` on search_threads() threads (its `elapsed` is
// the search's time, with the reading of the pieces), and handed to `sink`
// in walk order on the calling
// thread; `output` says whether `sink` writes to standard output meanwhile.
// With `passed_over`, the walk lists there the files it names (see
// PassedOver).
void search_tree(const std::string& root, EntryFilter filter, const NameRule& rule,
                 const ResultSink& sink, SinkOutput output = SinkOutput::kWrites,
                 PassedOver* passed_over = nullptr);
