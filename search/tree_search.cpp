// Workers that read and search files while the walk goes on; the results go on in walk order.
#include "search/tree_search.h"

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "search/file_content.h"
#include "search/search_progress.h"
#include "text/console.h"
#include "platform/fs.h"
#include "platform/process.h"

namespace {

// Listing a directory is mostly the system's work: a few threads keep ahead
// of the walk, and more would only add threads.
constexpr unsigned kMostListingHelpers = 4;

// Opens, reads and searches the file of `result`, whose paths and name are set.
void search_content(const ContentSearch& search, FileContent* content, FileResult* result) {
  InputFile file;
  result->opened = file.open(result->open_path);
  result->searched = false;
  result->unheld = false;
  if (!result->opened)
    return;
  LoadResult load = load_whole_file(file, content, &result->size);
  result->unheld = load == LoadResult::kNoMemory;
  if (load != LoadResult::kLoaded)
    return;
  result->searched = true;
  result->size = content->size();
  int64_t perf_start = perf_counter();
  search(*content, &result->found);
  result->elapsed = perf_counter() - perf_start;
}

// Opens, reads and searches the file of `result`, whose paths and name are
// set, then does `work` on it.
void search_file(const ContentSearch& search, const FileWork& work, FileContent* content,
                 FileResult* result) {
  search_content(search, content, result);
  if (work && result->opened && !result->unheld) {
    if (!result->searched)
      content->clear();
    work(*result, *content);
  }
}

// Hands `result` on and counts it, unless its file did not open; ends the
// run for a file that could not be held.
void deliver(const ResultSink& sink, SearchProgress& progress, const FileResult& result) {
  if (result.unheld)
    fail_to_hold(result.path, result.size);
  if (!result.opened)
    return;
  progress.add_file(result.searched ? result.size : 0);
  sink(result);
}

// The walk on the calling thread alone.
class SerialSearch : public WalkVisitor {
 public:
  SerialSearch(EntryFilter filter, const ContentSearch& search, const FileWork& work,
               const ResultSink& sink, SearchProgress& progress)
      : filter_(filter), search_(search), work_(work), sink_(sink), progress_(progress) {}

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    return filter_(entry);
  }

  // The content is what is searched: a name shown in part is no matter.
  bool takes_names_in_part() const override { return true; }

  void on_file(const std::string& path, const std::string& open_path,
               const DirEntry& entry) override {
    result_.path = path;
    result_.open_path = open_path;
    result_.name = entry.name;
    search_file(search_, work_, &content_, &result_);
    deliver(sink_, progress_, result_);
  }

 private:
  EntryFilter filter_;
  const ContentSearch& search_;
  const FileWork& work_;
  const ResultSink& sink_;
  SearchProgress& progress_;
  FileContent content_;  // reused from file to file
  FileResult result_;    // likewise
};

// One file in flight.
struct Slot {
  FileResult result;
  bool done = false;
};

// The walk on the calling thread, with workers that read and search the
// files it meets. The calling thread hands the results on in walk order.
class ParallelSearch : public WalkVisitor {
 public:
  ParallelSearch(EntryFilter filter, unsigned threads, const ContentSearch& search,
                 const FileWork& file_work, const ResultSink& sink, SearchProgress& progress)
      : filter_(filter),
        search_(search),
        work_(file_work),
        sink_(sink),
        progress_(progress),
        window_(threads * kFilesInFlightPerThread) {
    for (unsigned i = 0; i < threads; ++i)
      workers_.emplace_back([this] { work(); });
  }

  ~ParallelSearch() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    work_ready_.notify_all();
    for (std::thread& worker : workers_)
      worker.join();
  }

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    return filter_(entry);
  }

  // The content is what is searched: a name shown in part is no matter.
  bool takes_names_in_part() const override { return true; }

  void on_file(const std::string& path, const std::string& open_path,
               const DirEntry& entry) override {
    std::unique_lock<std::mutex> lock(mutex_);
    while (in_flight_.size() >= window_)
      deliver_first(&lock);
    Slot* slot = take_slot();
    slot->result.path = path;
    slot->result.open_path = open_path;
    slot->result.name = entry.name;
    slot->done = false;
    in_flight_.push_back(slot);
    work_ready_.notify_one();
  }

  // Hands on every result still in flight.
  void finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!in_flight_.empty())
      deliver_first(&lock);
  }

 private:
  Slot* take_slot() {
    if (free_.empty()) {
      slots_.push_back(std::make_unique<Slot>());
      return slots_.back().get();
    }
    Slot* slot = free_.back();
    free_.pop_back();
    return slot;
  }

  // Waits for the first file in flight and hands its result on, with the
  // lock released meanwhile so that the workers go on.
  void deliver_first(std::unique_lock<std::mutex>* lock) {
    Slot* slot = in_flight_.front();
    done_.wait(*lock, [slot] { return slot->done; });
    in_flight_.pop_front();
    --next_;  // every slot before next_ has been taken by a worker
    lock->unlock();
    deliver(sink_, progress_, slot->result);
    lock->lock();
    free_.push_back(slot);
  }

  void work() {
    FileContent content;  // this worker's, reused from file to file
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      work_ready_.wait(lock, [this] { return stopping_ || next_ < in_flight_.size(); });
      if (next_ >= in_flight_.size())
        return;
      Slot* slot = in_flight_[next_++];
      lock.unlock();
      search_file(search_, work_, &content, &slot->result);
      lock.lock();
      slot->done = true;
      done_.notify_all();
    }
  }

  EntryFilter filter_;
  const ContentSearch& search_;
  const FileWork& work_;
  const ResultSink& sink_;
  SearchProgress& progress_;
  const size_t window_;
  std::mutex mutex_;
  std::condition_variable work_ready_;  // a file waits for a worker, or the pool stops
  std::condition_variable done_;        // a worker finished a file
  std::deque<Slot*> in_flight_;         // in walk order
  size_t next_ = 0;                     // the first file in flight no worker has taken
  bool stopping_ = false;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::vector<Slot*> free_;
  std::vector<std::thread> workers_;
};

// TEXSIFT_THREADS when it holds a whole number from 1 to 1024.
std::optional<unsigned> threads_asked() {
  const char* text = getenv("TEXSIFT_THREADS");
  if (!text)
    return std::nullopt;
  char* end = nullptr;
  long value = strtol(text, &end, 10);
  if (end != text && *end == '\0' && value >= 1 && value <= 1024)
    return static_cast<unsigned>(value);
  return std::nullopt;
}

unsigned hardware_threads() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace

void search_tree_in_order(const std::string& root, EntryFilter filter, unsigned threads,
                          const ContentSearch& search, const ResultSink& sink,
                          SinkOutput output, const FileWork& work) {
  SearchProgress progress(output == SinkOutput::kSilent);
  if (threads <= 1) {
    SerialSearch walk(filter, search, work, sink, progress);
    walk_tree(root, walk);
    return;
  }
  ParallelSearch walk(filter, threads, search, work, sink, progress);
  walk_tree(root, walk, listing_helpers(threads));
  walk.finish();
}

unsigned search_threads_quietly() {
  return threads_asked().value_or(hardware_threads());
}

unsigned search_threads() {
  std::optional<unsigned> asked = threads_asked();
  if (asked)
    return *asked;
  unsigned hardware = hardware_threads();
  if (const char* text = getenv("TEXSIFT_THREADS"))
    warning("TEXSIFT_THREADS='%s' is not a whole number from 1 to 1024; searching with %u threads",
            text, hardware);
  return hardware;
}

unsigned listing_helpers(unsigned threads) {
  return threads <= 1 ? 0 : std::min(threads, kMostListingHelpers);
}
