// Depth-first tree walk, iterative so that deep trees cannot exhaust the stack.
#include "platform/walk.h"

#include <algorithm>
#include <memory>

#include "platform/diagnostics.h"

namespace {

struct Frame {
  std::string directory;
  std::unique_ptr<DirectoryListing> listing;
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

// True when the path built from `entry`'s name reaches it; otherwise warns
// and refuses the entry, which would stand for another one, even one outside
// the tree.
bool has_reachable_name(const std::string& directory, const DirEntry& entry) {
  const char* reason = unreachable_name_reason(entry.name);
  if (!reason)
    return true;
  warning("%s, entry skipped: %s", reason, (native_path(directory) + entry.name).c_str());
  return false;
}

// The identity of `directory`, an empty path meaning the current directory.
bool identity_of(const std::string& directory, DirectoryId* id) {
  return directory_identity(directory.empty() ? "." : directory, id);
}

bool on_current_path(const std::vector<Frame>& stack, const DirectoryId& id) {
  return std::any_of(stack.begin(), stack.end(), [&](const Frame& frame) {
    return frame.has_id && frame.id == id;
  });
}

// Lists `directory` and pushes it, unless its pattern is too long or it would
// close a cycle of links.
void enter(const std::string& directory, WalkVisitor& visitor,
           std::vector<Frame>* stack) {
  Frame frame;
  frame.directory = directory;
  frame.has_id = identity_of(directory, &frame.id);
  if (frame.has_id && on_current_path(*stack, frame.id))
    return;
  std::string pattern = directory + "*.*";
  if (!fits_path_limit(pattern))
    return;
  visitor.on_directory(pattern);
  frame.listing = std::make_unique<DirectoryListing>(pattern);
  if (frame.listing->ok())
    stack->push_back(std::move(frame));
}

void handle_entry(const DirEntry& entry, WalkVisitor& visitor,
                  std::vector<Frame>* stack) {
  // Copied: entering a subdirectory may move the frames.
  const std::string directory = stack->back().directory;
  EntryAction action = visitor.classify(directory, entry);
  if (action != EntryAction::kSkip && !has_reachable_name(directory, entry))
    return;
  switch (action) {
    case EntryAction::kSkip:
      return;
    case EntryAction::kDescend: {
      std::string subdirectory = directory + entry.name + "\\";
      if (fits_path_limit(subdirectory))
        enter(subdirectory, visitor, stack);
      return;
    }
    case EntryAction::kRead: {
      std::string path = directory + entry.name;
      if (fits_path_limit(path))
        visitor.on_file(path, entry);
      return;
    }
  }
}

}  // namespace

void walk_tree(const std::string& directory, WalkVisitor& visitor) {
  std::vector<Frame> stack;
  enter(directory, visitor, &stack);
  DirEntry entry;
  while (!stack.empty()) {
    if (stack.back().listing->next(&entry))
      handle_entry(entry, visitor, &stack);
    else
      stack.pop_back();
  }
}
