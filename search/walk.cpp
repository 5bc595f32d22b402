// Depth-first tree walk, iterative so that deep trees cannot exhaust the stack;
// helper threads may list the directories it is about to enter.
#include "search/walk.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "text/console.h"

namespace {

// Where a directory comes in the walk: the index, in each listing from the
// top down, of the entry that leads to it. Positions compare in walk order.
using WalkPosition = std::vector<uint32_t>;

// The identity and entries of a directory, read before the walk enters it.
struct ReadAhead {
  DirectoryId id;
  bool has_id = false;
  bool listed = false;  // false: not listed, left to the walk
  bool ok = false;      // listed and could be
  std::vector<DirEntry> entries;
};

struct Frame {
  std::string directory;       // as shown
  std::string open_directory;  // as the file functions take it
  WalkPosition position;       // kept only when directories are listed ahead
  std::unique_ptr<DirectoryListing> listing;  // listed as the walk entered it
  std::vector<DirEntry> entries;              // or else listed ahead
  size_t handed_out = 0;                      // entries handed out so far
  DirectoryId id;
  bool has_id = false;
};

// True when `path` fits the platform's limit; otherwise warns and refuses it.
bool fits_path_limit(const std::string& path) {
  if (path.size() <= max_path_length())
    return true;
  warning("path longer than %zu characters skipped: %s", max_path_length(),
          native_path(path).c_str());
  return false;
}

// True when the walk goes on with `entry` of `directory`, warning of a name
// shown in part; otherwise warns and refuses the entry. A name that a built
// path cannot carry would stand for another entry, even one outside the tree.
bool takes_name(const std::string& directory, const DirEntry& entry,
                const WalkVisitor& visitor) {
  const char* reason = unreachable_name_reason(entry.name);
  if (!reason && !entry.name_in_part)
    return true;
  const std::string shown = native_path(directory) + entry.name;
  if (!reason && visitor.takes_names_in_part()) {
    warning("name outside the ANSI code page, shown in part: %s", shown.c_str());
    return true;
  }
  warning("%s, entry skipped: %s", reason ? reason : "name outside the ANSI code page",
          shown.c_str());
  return false;
}

// The identity of `directory`, an empty path meaning the current directory.
bool identity_of(const std::string& directory, DirectoryId* id) {
  return directory_identity(directory.empty() ? "." : directory, id);
}

bool holds(const std::vector<DirectoryId>& ids, const DirectoryId& id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// Reads the identity of the directory opened as `open_directory` and, unless
// it is one of `ancestors` (a cycle the walk will not enter) or its pattern
// is too long to be listed, its entries.
ReadAhead read_directory(const std::string& open_directory,
                         const std::vector<DirectoryId>& ancestors) {
  ReadAhead ahead;
  ahead.has_id = identity_of(open_directory, &ahead.id);
  if (ahead.has_id && holds(ancestors, ahead.id))
    return ahead;
  std::string pattern = open_directory + "*.*";
  if (pattern.size() > max_path_length())
    return ahead;
  DirectoryListing listing(pattern);
  ahead.listed = true;
  ahead.ok = listing.ok();
  DirEntry entry;
  while (ahead.ok && listing.next(&entry))
    ahead.entries.push_back(std::move(entry));
  return ahead;
}

// Lists directories ahead of the walk on helper threads. The helpers take
// the directories known and not yet listed in walk order, and make known the
// subdirectories of each one they list, so they run ahead of the walk by
// whole subtrees. A directory is listed once: by a helper, or by the walk
// when no helper has begun it. What the walk has passed is dropped, and the
// helpers stop while the listings held ahead pass a bound.
class ListingAhead {
 public:
  explicit ListingAhead(unsigned helpers) {
    for (unsigned i = 0; i < helpers; ++i)
      helpers_.emplace_back([this] { work(); });
  }

  ~ListingAhead() { stop_threads(mutex_, &stopping_, work_ready_, &helpers_); }

  ListingAhead(const ListingAhead&) = delete;
  ListingAhead& operator=(const ListingAhead&) = delete;

  // The directory at `position`, opened as `open_directory`, whose ancestors
  // on the walk's path have the identities `ancestors`, as read_directory
  // gives it: read ahead, or read now. The walk takes positions in order:
  // whatever comes before `position` is dropped.
  ReadAhead take(const WalkPosition& position, const std::string& open_directory,
                 const std::vector<DirectoryId>& ancestors) {
    std::unique_lock<std::mutex> lock(mutex_);
    passed_ = position;
    drop_before(position);
    listed_.wait(lock, [&] { return listing_.count(position) == 0; });
    auto found = ready_.find(position);
    if (found != ready_.end()) {
      ReadAhead ahead = std::move(found->second);
      ready_.erase(found);
      held_ -= weight(ahead);
      work_ready_.notify_all();
      return ahead;
    }
    pending_.erase(position);
    lock.unlock();
    ReadAhead ahead = read_directory(open_directory, ancestors);
    lock.lock();
    add_subdirectories(position, open_directory, ahead, ancestors);
    return ahead;
  }

 private:
  // A directory known and not yet listed.
  struct Pending {
    std::string open_directory;
    std::shared_ptr<const std::vector<DirectoryId>> ancestors;
  };

  // Bound on the entries held ahead, with a directory counting as one more:
  // a few MiB at most.
  static constexpr size_t kMostHeld = 32768;

  static size_t weight(const ReadAhead& ahead) { return ahead.entries.size() + 1; }

  void drop_before(const WalkPosition& position) {
    pending_.erase(pending_.begin(), pending_.lower_bound(position));
    auto end = ready_.lower_bound(position);
    for (auto it = ready_.begin(); it != end; ++it)
      held_ -= weight(it->second);
    ready_.erase(ready_.begin(), end);
    work_ready_.notify_all();
  }

  // Makes known the subdirectories of the directory at `position`, which
  // `ahead` lists. Names a built path cannot carry are never entered.
  void add_subdirectories(const WalkPosition& position, const std::string& open_directory,
                          const ReadAhead& ahead, const std::vector<DirectoryId>& ancestors) {
    if (!ahead.ok)
      return;
    auto below = std::make_shared<std::vector<DirectoryId>>(ancestors);
    if (ahead.has_id)
      below->push_back(ahead.id);
    WalkPosition child = position;
    child.push_back(0);
    for (size_t i = 0; i < ahead.entries.size(); ++i) {
      const DirEntry& entry = ahead.entries[i];
      if (!entry.is_directory || unreachable_name_reason(entry.name))
        continue;
      child.back() = static_cast<uint32_t>(i);
      pending_.emplace(child, Pending{open_directory + entry.native_name + "\\", below});
    }
    work_ready_.notify_all();
  }

  void work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      work_ready_.wait(lock,
                       [this] { return stopping_ || (!pending_.empty() && held_ < kMostHeld); });
      if (stopping_)
        return;
      auto first = pending_.begin();
      WalkPosition position = first->first;
      Pending directory = std::move(first->second);
      pending_.erase(first);
      if (position < passed_)
        continue;
      listing_.insert(position);
      lock.unlock();
      ReadAhead ahead = read_directory(directory.open_directory, *directory.ancestors);
      lock.lock();
      listing_.erase(position);
      if (!(position < passed_)) {
        add_subdirectories(position, directory.open_directory, ahead, *directory.ancestors);
        held_ += weight(ahead);
        ready_.emplace(std::move(position), std::move(ahead));
      }
      listed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable work_ready_;  // a directory to list, room to hold it, or the end
  std::condition_variable listed_;      // a helper finished a directory
  std::map<WalkPosition, Pending> pending_;
  std::set<WalkPosition> listing_;          // being listed by a helper
  std::map<WalkPosition, ReadAhead> ready_;  // listed, waiting for the walk
  size_t held_ = 0;                          // weight of ready_
  WalkPosition passed_;                      // the position the walk took last
  bool stopping_ = false;
  std::vector<std::thread> helpers_;
};

// One walk: the path of directories being listed, and the helpers, if any.
struct Walk {
  WalkVisitor& visitor;
  ListingAhead* ahead;  // null: each directory is listed as it is entered
  std::vector<Frame> stack;
};

bool on_current_path(const std::vector<Frame>& stack, const DirectoryId& id) {
  return std::any_of(stack.begin(), stack.end(), [&](const Frame& frame) {
    return frame.has_id && frame.id == id;
  });
}

std::vector<DirectoryId> ids_on_path(const std::vector<Frame>& stack) {
  std::vector<DirectoryId> ids;
  for (const Frame& frame : stack)
    if (frame.has_id)
      ids.push_back(frame.id);
  return ids;
}

bool next_entry(Frame* frame, DirEntry* entry) {
  if (frame->listing) {
    if (!frame->listing->next(entry))
      return false;
  } else {
    if (frame->handed_out >= frame->entries.size())
      return false;
    *entry = std::move(frame->entries[frame->handed_out]);
  }
  ++frame->handed_out;
  return true;
}

// Lists `directory` (opened as `open_directory`, at `position`) and pushes
// it, unless its pattern is too long or it would close a cycle of links.
void enter(const std::string& directory, const std::string& open_directory,
           WalkPosition position, Walk& walk) {
  Frame frame;
  frame.directory = directory;
  frame.open_directory = open_directory;
  ReadAhead ahead;
  if (walk.ahead) {
    ahead = walk.ahead->take(position, open_directory, ids_on_path(walk.stack));
    frame.has_id = ahead.has_id;
    frame.id = ahead.id;
    frame.position = std::move(position);
  } else {
    frame.has_id = identity_of(open_directory, &frame.id);
  }
  if (frame.has_id && on_current_path(walk.stack, frame.id))
    return;
  std::string pattern = directory + "*.*";
  if (!fits_path_limit(pattern))
    return;
  walk.visitor.on_directory(pattern);
  if (ahead.listed) {
    if (!ahead.ok)
      return;
    frame.entries = std::move(ahead.entries);
  } else {
    frame.listing = std::make_unique<DirectoryListing>(open_directory + "*.*");
    if (!frame.listing->ok())
      return;
  }
  walk.stack.push_back(std::move(frame));
}

void handle_entry(const DirEntry& entry, Walk& walk) {
  // Copied: entering a subdirectory may move the frames.
  const std::string directory = walk.stack.back().directory;
  const std::string open_directory = walk.stack.back().open_directory;
  EntryAction action = walk.visitor.classify(directory, entry);
  if (action != EntryAction::kSkip && !takes_name(directory, entry, walk.visitor))
    return;
  switch (action) {
    case EntryAction::kSkip:
      return;
    case EntryAction::kDescend: {
      std::string subdirectory = directory + entry.name + "\\";
      if (!fits_path_limit(subdirectory))
        return;
      WalkPosition position;
      if (walk.ahead) {
        position = walk.stack.back().position;
        position.push_back(static_cast<uint32_t>(walk.stack.back().handed_out - 1));
      }
      enter(subdirectory, open_directory + entry.native_name + "\\", std::move(position), walk);
      return;
    }
    case EntryAction::kRead: {
      std::string path = directory + entry.name;
      if (fits_path_limit(path))
        walk.visitor.on_file(path, open_directory + entry.native_name, entry);
      return;
    }
  }
}

void run_walk(const std::string& directory, Walk& walk) {
  enter(to_shown_name(directory), directory, WalkPosition(), walk);
  DirEntry entry;
  while (!walk.stack.empty()) {
    if (next_entry(&walk.stack.back(), &entry))
      handle_entry(entry, walk);
    else
      walk.stack.pop_back();
  }
}

}  // namespace

void walk_tree(const std::string& directory, WalkVisitor& visitor) {
  Walk walk{visitor, nullptr, {}};
  run_walk(directory, walk);
}

void walk_tree(const std::string& directory, WalkVisitor& visitor, unsigned helpers) {
  if (helpers == 0) {
    walk_tree(directory, visitor);
    return;
  }
  ListingAhead ahead(helpers);
  Walk walk{visitor, &ahead, {}};
  run_walk(directory, walk);
}

void stop_threads(std::mutex& mutex, bool* stopping, std::condition_variable& wake,
                  std::vector<std::thread>* threads) {
  {
    std::lock_guard<std::mutex> lock(mutex);
    *stopping = true;
  }
  wake.notify_all();
  for (std::thread& thread : *threads)
    thread.join();
}
