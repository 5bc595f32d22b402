// Algorithm #2: one walk of the game tree, each file read once and searched for every texture name.
#include <optional>
#include <vector>

#include "app/report.h"
#include "catalogue/catalogue.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/timer.h"
#include "search/content.h"
#include "search/filter.h"
#include "search/found.h"
#include "search/matcher.h"
#include "search/name_search.h"
#include "search/search.h"

namespace {

// The walk of the game tree that tries every name on each file.
class FileWalk : public SearchableWalk {
 public:
  FileWalk(const Catalogue& catalogue, const Report& report)
      : catalogue_(catalogue),
        report_(report),
        search_(catalogue_names(catalogue.catalogue)) {}

  void on_file(const std::string& path, const DirEntry& entry) override {
    InputFile file;
    if (!file.open(path))
      return;
    print(report_.console, "searching in '%s'\t\t\t\t\n", entry.name.c_str());
    int64_t size = file.size();
    if (size <= 0)
      return;
    FileContent content = load_file(file, path, static_cast<uint64_t>(size));
    int64_t perf_start = perf_counter();
    search_names(content);
    print_elapsed(report_, perf_start);
  }

 private:
  // Prints a FOUND line for each catalogue name in `content`, in catalogue
  // order. Each name tried sets the grey colour first, so after the last
  // name the colour is grey, or green when that name was found.
  void search_names(const FileContent& content) {
    catalogue_copy_ = catalogue_.catalogue;
    std::vector<std::string_view> names = catalogue_names(catalogue_copy_);
    // One pass finds every name; a name longer than the file is never found in it.
    std::vector<std::optional<uint64_t>> offsets = search_.find_all(content.bytes());
    for (size_t i = 0; i < names.size(); ++i) {
      report_.console.set_colour(kColourGrey);
      if (offsets[i])
        print_found(report_, std::string(names[i]).c_str(), *offsets[i]);
    }
  }

  const Catalogue& catalogue_;
  const Report& report_;
  NameSearch search_;           // the names of the catalogue, in its order
  std::string catalogue_copy_;  // the catalogue text, refilled for every file
};

}  // namespace

void search_files(const std::string& game_root, const Catalogue& catalogue,
                  const Report& report) {
  FileWalk walk(catalogue, report);
  walk_tree(game_root, walk);
}
