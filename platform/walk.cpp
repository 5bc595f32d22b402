// Depth-first tree walk, iterative so that deep trees cannot exhaust the stack.
#include "platform/walk.h"

#include <algorithm>
#include <memory>

#include "platform/diagnostics.h"

namespace {

struct Frame {
  std::string directory;       // as shown
  std::string open_directory;  // as the file functions take it
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

bool on_current_path(const std::vector<Frame>& stack, const DirectoryId& id) {
  return std::any_of(stack.begin(), stack.end(), [&](const Frame& frame) {
    return frame.has_id && frame.id == id;
  });
}

// Lists `directory` (opened as `open_directory`) and pushes it, unless its
// pattern is too long or it would close a cycle of links.
void enter(const std::string& directory, const std::string& open_directory,
           WalkVisitor& visitor, std::vector<Frame>* stack) {
  Frame frame;
  frame.directory = directory;
  frame.open_directory = open_directory;
  frame.has_id = identity_of(open_directory, &frame.id);
  if (frame.has_id && on_current_path(*stack, frame.id))
    return;
  std::string pattern = directory + "*.*";
  if (!fits_path_limit(pattern))
    return;
  visitor.on_directory(pattern);
  frame.listing = std::make_unique<DirectoryListing>(open_directory + "*.*");
  if (frame.listing->ok())
    stack->push_back(std::move(frame));
}

void handle_entry(const DirEntry& entry, WalkVisitor& visitor,
                  std::vector<Frame>* stack) {
  // Copied: entering a subdirectory may move the frames.
  const std::string directory = stack->back().directory;
  const std::string open_directory = stack->back().open_directory;
  EntryAction action = visitor.classify(directory, entry);
  if (action != EntryAction::kSkip && !takes_name(directory, entry, visitor))
    return;
  switch (action) {
    case EntryAction::kSkip:
      return;
    case EntryAction::kDescend: {
      std::string subdirectory = directory + entry.name + "\\";
      if (fits_path_limit(subdirectory))
        enter(subdirectory, open_directory + entry.native_name + "\\", visitor, stack);
      return;
    }
    case EntryAction::kRead: {
      std::string path = directory + entry.name;
      if (fits_path_limit(path))
        visitor.on_file(path, open_directory + entry.native_name, entry);
      return;
    }
  }
}

}  // namespace

void walk_tree(const std::string& directory, WalkVisitor& visitor) {
  std::vector<Frame> stack;
  enter(to_shown_name(directory), directory, visitor, &stack);
  DirEntry entry;
  while (!stack.empty()) {
    if (stack.back().listing->next(&entry))
      handle_entry(entry, visitor, &stack);
    else
      stack.pop_back();
  }
}
