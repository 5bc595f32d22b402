// Reading the files of a walk or of a list on several threads, each handed on in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "search/file_content.h"
#include "search/pool_file.h"
#include "search/walk.h"


// Decides what a walk does with an entry, by the entry alone.
using EntryFilter = EntryAction (*)(const DirEntry& entry);

// Work on a file that opened and could be held, with its content (empty when
// the file is), on the worker thread that read it; its time is the file's
// `elapsed`. Called on several threads at once: it must change no shared
// state but what the caller keeps for the file's `slot`.
using FileWork = std::function<void(const PoolFile& file, FileContent& content)>;

// Takes each file that opened, in order, on the thread that started the pool.
// What the caller keeps for the file's `slot` is its own until it returns.
using FileSink = std::function<void(const PoolFile& file)>;

// Whether a sink writes to standard output as files come (kWrites), or
// nothing until the pool is done (kSilent). A progress line on a terminal is
// drawn only when it cannot meet the report's lines there: with a silent
// sink, or when standard output is not a terminal.
enum class SinkOutput { kWrites, kSilent };

// The files in flight per thread: read, worked on or waiting to be handed on.
constexpr size_t kFilesInFlightPerThread = 8;

// The slots of a pool of `threads` threads: one for one thread, otherwise
// kFilesInFlightPerThread per thread. A file's `slot` is below it, and no two
// files in flight share one.
size_t pool_slots(unsigned threads);

// The files a walk passes over that a later look at the tree reads: those
// its filter skips and `later` reads, in walk order, each with its path,
// open path and name set, for read_files_in_order. The later look then lists
// no directory again, and sees the tree as the walk listed it.
struct PassedOver {
  EntryFilter later = nullptr;
  std::vector<PoolFile> files;
};

// Walks `root` (ending in a separator, or empty for the current directory)
// depth-first, descending and reading as `filter` says. Each file is opened,
// read as `reading` says and, unless it could not be held, worked on by
// `work` on one of `threads` threads (1: the calling thread alone); a file
// read whole is read before its time starts, one read in pieces as the work
// asks for them, in its time. Each file that opens is handed to `sink` in
// walk order. At most pool_slots(threads) files are in flight, so memory does
// not grow with the tree. When a file's content cannot be held, the run ends
// with a message when that file's turn comes. A progress line counts the
// files handed on (see SearchProgress), as `output` allows. With
// `passed_over`, the files it names are listed there as the walk meets them.
void read_tree_in_order(const std::string& root, EntryFilter filter, unsigned threads,
                        const FileWork& work, const FileSink& sink,
                        SinkOutput output = SinkOutput::kWrites,
                        Reading reading = Reading::kWhole, PassedOver* passed_over = nullptr);

// As read_tree_in_order does for a walk, for `files` (each with its path,
// open path and name set), in their order.
void read_files_in_order(const std::vector<PoolFile>& files, unsigned threads,
                         const FileWork& work, const FileSink& sink,
                         SinkOutput output = SinkOutput::kWrites,
                         Reading reading = Reading::kWhole);

// Calls work(i) for every i below `count` on up to `threads` threads, which
// take turns of `turn` indexes; returns when all are done. Fewer threads are
// used when the system gives fewer.
void run_on_threads(size_t count, unsigned threads, size_t turn,
                    const std::function<void(size_t i)>& work);

// The progress line's text for `files` files holding `bytes` bytes searched
// in `seconds`: "searched 1,234 files, 56.7 MB, 123.4 MB/s" ("1 file" for
// one), a MB being 1,048,576 bytes, with one decimal, and thousands
// separated by commas. The rate is 0.0 before any time has passed.
std::string progress_text(uint64_t files, uint64_t bytes, double seconds);

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
