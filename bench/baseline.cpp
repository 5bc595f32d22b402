// The straightforward per-name search, for comparison: one find_name per catalogue name per file.
#include <cstdio>
#include <string>

#include "catalogue/catalogue.h"
#include "platform/console.h"
#include "platform/diagnostics.h"
#include "platform/file.h"
#include "search/content.h"
#include "search/filter.h"
#include "search/matcher.h"

namespace {

// Reads each searchable file once and tries every name on it separately.
class PerNameWalk : public SearchableWalk {
 public:
  explicit PerNameWalk(std::vector<std::string_view> names) : names_(std::move(names)) {}

  void on_file(const std::string& path, const DirEntry&) override {
    InputFile file;
    if (!file.open(path))
      return;
    int64_t size = file.size();
    if (size <= 0)
      return;
    FileContent content = load_file(file, path, static_cast<uint64_t>(size));
    for (std::string_view name : names_)
      if (find_name(content.bytes(), name))
        ++references;
  }

  unsigned long long references = 0;

 private:
  std::vector<std::string_view> names_;
};

// Discards the catalogue walk's progress lines.
class SilentConsole : public Console {
 public:
  void write(std::string_view) override {}
  void set_colour(int) override {}
};

}  // namespace

int main(int argc, char** argv) {
  set_program_name("texsift_bench_baseline");
  if (argc != 2) {
    fprintf(stderr, "usage: texsift_bench_baseline GAME_ROOT/\n");
    return 2;
  }
  std::string game_root = argv[1];
  std::string texture_root = game_root + "gamedata\\textures\\";
  Catalogue catalogue;
  SilentConsole console;
  collect_textures(texture_root, texture_root.size(), &catalogue, console);
  PerNameWalk walk(catalogue_names(catalogue.catalogue));
  walk_tree(game_root, walk);
  printf("%llu references\n", walk.references);
  return 0;
}
