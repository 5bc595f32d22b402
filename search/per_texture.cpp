// Algorithm #1: for each texture name in turn, a walk of the whole game tree for the files that hold it.
#include <optional>

#include "app/report.h"
#include "catalogue/catalogue.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/timer.h"
#include "search/content.h"
#include "search/filter.h"
#include "search/found.h"
#include "search/matcher.h"
#include "search/search.h"

namespace {

// The walk of the game tree for one name.
class TextureWalk : public SearchableWalk {
 public:
  TextureWalk(std::string_view name, const Report& report) : name_(name), report_(report) {}

  void on_file(const std::string& path, const DirEntry&) override {
    InputFile file;
    if (!file.open(path))
      return;
    // An empty file, or one shorter than the name, cannot hold it.
    int64_t size = file.size();
    if (size <= 0 || static_cast<uint64_t>(size) < name_.size())
      return;
    FileContent content = load_file(file, path, static_cast<uint64_t>(size));
    std::optional<uint64_t> pos = find_name(content.bytes(), name_);
    if (!pos)
      return;
    print_found(report_, report_.relative(path), *pos);
    found_flag_ = true;
  }

  bool found_flag() const { return found_flag_; }

 private:
  std::string_view name_;
  const Report& report_;
  bool found_flag_ = false;
};

// Prints the report of one texture: its "searching" line, the FOUND lines or
// NOT FOUND, and the time it all took.
void search_one_texture(const std::string& game_root, const std::string& name,
                        uint32_t texture_counter, uint32_t catalogue_count,
                        const Report& report) {
  int64_t perf_start = perf_counter();
  report.console.set_colour(kColourGrey);
  print(report.console, "searching '%s' (%u of %u)\n", name.c_str(), texture_counter,
        catalogue_count);
  if (!search_texture(game_root, name, report)) {
    report.console.set_colour(kColourRed);
    print(report.console, "NOT FOUND REFERENCED\n");
  }
  report.console.set_colour(kColourWhite);
  print_elapsed(report, perf_start);
}

}  // namespace

bool search_texture(const std::string& directory, std::string_view name,
                    const Report& report) {
  TextureWalk walk(name, report);
  walk_tree(directory, walk);
  return walk.found_flag();
}

void search_textures(const std::string& game_root, Catalogue* catalogue,
                     const Report& report) {
  // The counter counts names cut from the text, which may pass the number of
  // textures when a texture's file name holds a further ".".
  uint32_t texture_counter = 0;
  for (std::string_view name : catalogue_names(catalogue->catalogue))
    search_one_texture(game_root, std::string(name), ++texture_counter,
                       catalogue->catalogue_count, report);
}
