// The compact build's per-file walk of the game tree and its report.
#include "compact/search.h"

#include "compact/catalogue.h"
#include "compact/content.h"
#include "compact/filter.h"
#include "compact/scanner.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/walk.h"

namespace {

// Tries every catalogue name on `content` and prints a FOUND line, naming
// the file at `path`, for each name found.
void search_names(const FileContent& content, const std::string& path,
                  CompactState* state) {
  state->catalogue_copy = state->catalogue;
  for (std::string_view name : compact_cut_names(&state->catalogue_copy)) {
    state->console.set_colour(kColourGrey);
    if (name.size() > content.size)
      continue;
    if (std::optional<size_t> offset =
            compact_find_name(content.data.get(), content.size, name)) {
      state->console.set_colour(kColourGreen);
      print(state->console, "FOUND '%s' @ %zu\n", state->relative(path), *offset);
    }
  }
}

class FileSearcher : public WalkVisitor {
 public:
  explicit FileSearcher(CompactState* state) : state_(state) {}

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    return compact_entry_action(entry);
  }

  void on_file(const std::string& path, const DirEntry& entry) override {
    InputFile file;
    if (!file.open(path))
      return;
    print(state_->console, "searching in '%s'\n", entry.name.c_str());
    FileContent content = compact_load_file(&file, path);
    if (content.size != 0)
      search_names(content, path, state_);
  }

 private:
  CompactState* state_;
};

}  // namespace

void compact_search_files(const std::string& directory, CompactState* state) {
  FileSearcher searcher(state);
  walk_tree(directory, searcher);
}
