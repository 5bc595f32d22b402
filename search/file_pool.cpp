// Workers that read files while the walk goes on; the files go on in walk order.
#include "search/file_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "search/file_content.h"
#include "text/console.h"
#include "platform/console.h"
#include "platform/fs.h"
#include "platform/process.h"

namespace {

constexpr double kBytesPerMb = 1024.0 * 1024.0;

// `value` in decimal with a comma between each group of three digits.
std::string with_thousands(uint64_t value) {
  std::string digits = std::to_string(value);
  for (size_t at = digits.size(); at > 3; at -= 3)
    digits.insert(at - 3, ",");
  return digits;
}

// `value`, not negative, with one decimal and thousands separated.
std::string with_one_decimal(double value) {
  auto tenths = static_cast<uint64_t>(value * 10.0 + 0.5);
  return with_thousands(tenths / 10) + "." + std::to_string(tenths % 10);
}

// Counts the files a search hands on and, when progress_line_wanted() says
// so, draws the progress line at most ten times a second; the first time a
// tenth of a second after the start, so a quick search draws nothing. Erases
// the line when it goes.
class SearchProgress {
 public:
  // `report_silent`: nothing is written to standard output while it lives.
  explicit SearchProgress(bool report_silent)
      : wanted_(progress_line_wanted(report_silent)),
        frequency_(perf_counter_frequency()),
        start_(perf_counter()),
        next_draw_(start_ + frequency_ / 10) {}
  ~SearchProgress() {
    if (wanted_)
      erase_progress_line();
  }
  SearchProgress(const SearchProgress&) = delete;
  SearchProgress& operator=(const SearchProgress&) = delete;

  // Counts a file of which `bytes` bytes were searched, and redraws when due.
  void add_file(uint64_t bytes) {
    ++files_;
    bytes_ += bytes;
    if (!wanted_)
      return;
    int64_t now = perf_counter();
    if (now < next_draw_)
      return;
    next_draw_ = now + frequency_ / 10;
    double seconds = static_cast<double>(now - start_) / static_cast<double>(frequency_);
    draw_progress_line(progress_text(files_, bytes_, seconds));
  }

 private:
  bool wanted_;
  uint64_t files_ = 0;
  uint64_t bytes_ = 0;
  int64_t frequency_;
  int64_t start_;
  int64_t next_draw_;  // the performance counter's value from which the line is due
};

// Listing a directory is mostly the system's work: a few threads keep ahead
// of the walk, and more would only add threads.
constexpr unsigned kMostListingHelpers = 4;

// Opens and reads the file of `file`, whose paths and name are set, as
// `reading` says, and does `work` on it when it could be held. A file read in
// pieces is read by the work, and its size is what the work read.
void read_file(const FileWork& work, Reading reading, FileContent* content, PoolFile* file) {
  InputFile input;
  file->opened = input.open(file->open_path);
  file->searched = false;
  file->unheld = false;
  if (!file->opened)
    return;
  LoadResult load = load_file(input, reading, content, &file->size);
  file->unheld = load == LoadResult::kNoMemory;
  if (file->unheld)
    return;
  file->searched = load == LoadResult::kLoaded;
  if (file->searched && !content->in_pieces())
    file->size = content->size();
  int64_t perf_start = perf_counter();
  work(*file, *content);
  file->elapsed = perf_counter() - perf_start;
  if (content->unheld()) {
    file->unheld = true;
    file->searched = false;
  }
  if (content->in_pieces() || content->unheld())
    file->size = content->size();
  content->clear();
}

// Files read on worker threads, or on the calling thread alone when there is
// one thread, and handed on in the order they were added.
class FilePool {
 public:
  FilePool(unsigned threads, Reading reading, const FileWork& work, const FileSink& sink,
           SinkOutput output)
      : work_(work), reading_(reading), sink_(sink), progress_(output == SinkOutput::kSilent),
        slots_(pool_slots(threads)) {
    for (size_t i = 0; i < slots_.size(); ++i) {
      slots_[i].file.slot = i;
      free_.push_back(&slots_[i]);
    }
    for (unsigned i = 0; threads > 1 && i < threads; ++i)
      workers_.emplace_back([this] { run_worker(); });
  }

  ~FilePool() { stop_threads(mutex_, &stopping_, work_ready_, &workers_); }

  void add(const std::string& path, const std::string& open_path, const std::string& name) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (free_.empty()) {
      // Every file done by now goes on with the first, so the walk waits
      // once for a run of them rather than once per file.
      deliver_first(&lock);
      while (!in_flight_.empty() && in_flight_.front()->done)
        deliver_first(&lock);
    }
    Slot* slot = free_.back();
    free_.pop_back();
    slot->file.path = path;
    slot->file.open_path = open_path;
    slot->file.name = name;
    slot->file.order = added_++;
    slot->done = false;
    in_flight_.push_back(slot);
    if (workers_.empty()) {
      lock.unlock();
      read_file(work_, reading_, &content_, &slot->file);
      lock.lock();
      slot->done = true;
      deliver_first(&lock);
      return;
    }
    work_ready_.notify_one();
  }

  // Hands on every file still in flight.
  void finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!in_flight_.empty())
      deliver_first(&lock);
  }

 private:
  struct Slot {
    PoolFile file;
    bool done = false;
  };

  // Waits for the first file in flight and hands it on, with the lock
  // released meanwhile so that the workers go on. Ends the run for a file
  // that could not be held; a file that did not open is not handed on.
  void deliver_first(std::unique_lock<std::mutex>* lock) {
    Slot* slot = in_flight_.front();
    done_.wait(*lock, [slot] { return slot->done; });
    in_flight_.pop_front();
    if (next_ > 0)
      --next_;  // every slot before next_ has been taken by a worker
    lock->unlock();
    const PoolFile& file = slot->file;
    if (file.unheld)
      fail_to_hold(file.path, file.size);
    if (file.opened) {
      progress_.add_file(file.searched ? file.size : 0);
      sink_(file);
    }
    lock->lock();
    free_.push_back(slot);
  }

  void run_worker() {
    FileContent content;  // this worker's, reused from file to file
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      work_ready_.wait(lock, [this] { return stopping_ || next_ < in_flight_.size(); });
      if (next_ >= in_flight_.size())
        return;
      Slot* slot = in_flight_[next_++];
      lock.unlock();
      read_file(work_, reading_, &content, &slot->file);
      lock.lock();
      slot->done = true;
      // Only the first file in flight is ever waited for.
      if (slot == in_flight_.front())
        done_.notify_all();
    }
  }

  const FileWork& work_;
  const Reading reading_;
  const FileSink& sink_;
  SearchProgress progress_;
  std::vector<Slot> slots_;
  FileContent content_;  // the calling thread's, when it reads alone
  std::mutex mutex_;
  std::condition_variable work_ready_;  // a file waits for a worker, or the pool stops
  std::condition_variable done_;        // a worker finished a file
  std::deque<Slot*> in_flight_;         // in the order added
  size_t next_ = 0;                     // the first file in flight no worker has taken
  size_t added_ = 0;                    // the files given so far
  bool stopping_ = false;
  std::vector<Slot*> free_;
  std::vector<std::thread> workers_;
};

// Feeds a walk's files to a pool.
class PoolWalk : public WalkVisitor {
 public:
  PoolWalk(EntryFilter filter, FilePool& pool, PassedOver* passed_over)
      : filter_(filter), pool_(pool), passed_over_(passed_over) {}

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    const EntryAction action = filter_(entry);
    // A file passed over goes on to on_file, which lists it for the later look.
    if (action == EntryAction::kSkip && is_passed_over(entry))
      return EntryAction::kRead;
    return action;
  }

  // The content is what is read: a name shown in part is no matter.
  bool takes_names_in_part() const override { return true; }

  void on_file(const std::string& path, const std::string& open_path,
               const DirEntry& entry) override {
    // Only a walk that lists passed-over files reads one its filter skips.
    if (!passed_over_ || filter_(entry) == EntryAction::kRead) {
      pool_.add(path, open_path, entry.name);
      return;
    }
    PoolFile file;
    file.path = path;
    file.open_path = open_path;
    file.name = entry.name;
    passed_over_->files.push_back(std::move(file));
  }

 private:
  bool is_passed_over(const DirEntry& entry) const {
    return passed_over_ && !entry.is_directory &&
           passed_over_->later(entry) == EntryAction::kRead;
  }

  EntryFilter filter_;
  FilePool& pool_;
  PassedOver* passed_over_;
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

std::string progress_text(uint64_t files, uint64_t bytes, double seconds) {
  double megabytes = static_cast<double>(bytes) / kBytesPerMb;
  double rate = seconds > 0 ? megabytes / seconds : 0.0;
  return "searched " + with_thousands(files) + (files == 1 ? " file, " : " files, ") +
         with_one_decimal(megabytes) + " MB, " + with_one_decimal(rate) + " MB/s";
}

size_t pool_slots(unsigned threads) {
  return threads <= 1 ? 1 : threads * kFilesInFlightPerThread;
}

void read_tree_in_order(const std::string& root, EntryFilter filter, unsigned threads,
                        const FileWork& work, const FileSink& sink, SinkOutput output,
                        Reading reading, PassedOver* passed_over) {
  FilePool pool(threads, reading, work, sink, output);
  PoolWalk walk(filter, pool, passed_over);
  walk_tree(root, walk, listing_helpers(threads));
  pool.finish();
}

void read_files_in_order(const std::vector<PoolFile>& files, unsigned threads,
                         const FileWork& work, const FileSink& sink, SinkOutput output,
                         Reading reading) {
  FilePool pool(threads, reading, work, sink, output);
  for (const PoolFile& file : files)
    pool.add(file.path, file.open_path, file.name);
  pool.finish();
}

void run_on_threads(size_t count, unsigned threads, size_t turn,
                    const std::function<void(size_t i)>& work) {
  std::atomic<size_t> next{0};
  auto take_turns = [&] {
    for (size_t first; (first = next.fetch_add(turn)) < count;)
      for (size_t i = first; i < std::min(first + turn, count); ++i)
        work(i);
  };
  std::vector<std::thread> helpers;
  try {
    for (unsigned t = 1; t < threads && t * turn < count; ++t)
      helpers.emplace_back(take_turns);
  } catch (const std::system_error&) {
    // Fewer threads only take longer.
  }
  take_turns();
  for (std::thread& helper : helpers)
    helper.join();
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
