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

// The catalogue's names, cut from a copy of it.
std::vector<std::string_view> cut_catalogue(const std::string& catalogue, std::string* copy) {
  *copy = catalogue;
  return compact_cut_names(copy);
}

// Tries every catalogue name on `content`, with one scan per group of names
// that `groups` prepared from the catalogue, and prints a FOUND line, naming
// the file at `path`, for each name found, in catalogue order.
void search_names(const FileContent& content, const std::string& path,
                  const CompactNameSearch& groups, CompactState* state) {
  std::vector<std::string_view> names = cut_catalogue(state->catalogue, &state->catalogue_copy);
  std::vector<std::optional<size_t>> offsets = groups.find_all(content.data.get(), content.size);
  for (size_t i = 0; i < names.size(); ++i) {
    state->console.set_colour(kColourGrey);
    if (names[i].size() > content.size)
      continue;
    if (offsets[i]) {
      state->console.set_colour(kColourGreen);
      print(state->console, "FOUND '%s' @ %zu\n", state->relative(path), *offsets[i]);
    }
  }
}

class FileSearcher : public WalkVisitor {
 public:
  // The names are grouped once for the whole walk: the catalogue does not
  // change while it runs.
  explicit FileSearcher(CompactState* state)
      : state_(state), groups_(cut_catalogue(state->catalogue, &state->catalogue_copy)) {}

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
      search_names(content, path, groups_, state_);
  }

 private:
  CompactState* state_;
  CompactNameSearch groups_;
};

}  // namespace

void compact_search_files(const std::string& directory, CompactState* state) {
  FileSearcher searcher(state);
  walk_tree(directory, searcher);
}
