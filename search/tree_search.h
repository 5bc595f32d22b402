// Searching the files of a walk on several threads, with the results handed on in walk order.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "match/found_names.h"
#include "search/walk.h"

class FileContent;

// What the search of one file found.
struct FileResult {
  std::string path;       // the file's full path, as the walk built it
  std::string open_path;  // the path that opens it (see WalkVisitor::on_file)
  std::string name;       // its bare name
  bool opened = false;    // false when it could not be opened: nothing else is set
  bool searched = false;  // false when it was empty: nothing was read
  uint64_t size = 0;      // the bytes read and searched; the size that could not be held when unheld
  bool unheld = false;    // true when its content could not be held in memory
  int64_t elapsed = 0;    // performance-counter counts the search of its bytes took
  FoundNames found;        // what the content search gave
};

// Decides what a walk does with an entry, by the entry alone.
using EntryFilter = EntryAction (*)(const DirEntry& entry);

// Searches one file's content and records what it finds in `found`, names in
// ascending order. Called on worker threads,
// at once on several: it must not change shared state.
using ContentSearch =
    std::function<void(const FileContent& content, FoundNames* found)>;

// Further work on a file that opened, after its search, on the thread that
// searched it, with its content (empty when the file is). Called on worker
// threads, at once on several: it must not change shared state unguarded.
using FileWork = std::function<void(const FileResult& result, const FileContent& content)>;

// Takes each file's result, on the thread that called search_tree_in_order.
using ResultSink = std::function<void(const FileResult& result)>;

// Whether a sink writes to standard output as results come (kWrites), or
// nothing until the search is over (kSilent). A progress line on a terminal
// is drawn only when it cannot meet the report's lines there: with a silent
// sink, or when standard output is not a terminal.
enum class SinkOutput { kWrites, kSilent };

// The files in flight per searching thread: read, searched or waiting to be
// handed on, each with its own FoundNames.
constexpr size_t kFilesInFlightPerThread = 4;

// Walks `root` (ending in a separator, or empty for the current directory)
// depth-first, descending and reading as `filter` says. Each file is opened,
// read whole and, unless empty, searched with `search` on one of `threads`
// threads (1: the calling thread alone); the reading is left out of the time
// taken. Each file that opens is handed to `sink` in walk order on the
// calling thread. At most kFilesInFlightPerThread * `threads` files are in
// flight, so memory does not grow with the tree: `search` is given no more
// distinct FoundNames than that (one with a single thread). When a file's
// content cannot be held, the run ends with a message when that file's turn
// comes. A progress line counts the files handed on (see SearchProgress), as
// `output` allows. `work`, when given, is done on each file that opened,
// after its search.
void search_tree_in_order(const std::string& root, EntryFilter filter, unsigned threads,
                          const ContentSearch& search, const ResultSink& sink,
                          SinkOutput output = SinkOutput::kWrites, const FileWork& work = {});

// The number of threads to search with: TEXSIFT_THREADS when it holds a whole
// number from 1 to 1024, otherwise (with a warning when it is set) the
// hardware's thread count.
unsigned search_threads();

// search_threads() without its warning, for a walk that comes before the
// search and leaves the warning to it.
unsigned search_threads_quietly();

// How many threads list directories ahead of a walk (see walk_tree) beside
// `threads` searching: none for one thread, whose walk lists each directory
// as it enters it.
unsigned listing_helpers(unsigned threads);
