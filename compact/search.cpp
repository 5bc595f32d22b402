// The compact build's per-file walk of the game tree and its report.
#include "compact/search.h"

#include "common/file_content.h"
#include "common/texture_walk.h"
#include "compact/filter.h"
#include "compact/scanner.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/walk.h"

namespace {

class FileSearcher : public WalkVisitor {
 public:
  // The names are prepared once for the whole walk: the catalogue does not
  // change while it runs.
  FileSearcher(const Catalogue& catalogue, const GamePaths& paths, Console& console)
      : paths_(paths), console_(console), groups_(catalogue.name_views()) {}

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    return compact_entry_action(entry);
  }

  void on_file(const std::string& path, const DirEntry& entry) override {
    InputFile file;
    if (!file.open(path))
      return;
    print(console_, "searching in '%s'\n", entry.name.c_str());
    if (load_whole_file(file, path, &content_) && content_.size() != 0)
      print_found_names(path);
  }

 private:
  // Tries every catalogue name on the content and prints a FOUND line, naming
  // the file at `path`, for each name found, in catalogue order.
  void print_found_names(const std::string& path) {
    std::vector<std::optional<size_t>> offsets =
        groups_.find_all(content_.chars(), static_cast<size_t>(content_.size()));
    for (size_t i = 0; i < offsets.size(); ++i) {
      console_.set_colour(kColourGrey);
      if (offsets[i]) {
        console_.set_colour(kColourGreen);
        print(console_, "FOUND '%s' @ %zu\n", paths_.from_game_root(path), *offsets[i]);
      }
    }
  }

  const GamePaths& paths_;
  Console& console_;
  CompactNameGroups groups_;
  FileContent content_;  // reused from file to file
};

}  // namespace

void compact_search_files(const std::string& game_root, const Catalogue& catalogue,
                          const GamePaths& paths, Console& console) {
  FileSearcher searcher(catalogue, paths, console);
  walk_tree(game_root, searcher);
}
