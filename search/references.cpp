// One walk over the game tree that records every name's references for the per-texture report.
#include "search/references.h"

#include "app/report.h"
#include "platform/file.h"
#include "search/content.h"
#include "search/filter.h"
#include "search/name_search.h"

namespace {

class ReferenceWalk : public SearchableWalk {
 public:
  ReferenceWalk(const std::vector<std::string_view>& names, const Report& report)
      : search_(names), report_(report) {
    references.hits.resize(names.size());
  }

  void on_file(const std::string& path, const DirEntry&) override {
    InputFile file;
    if (!file.open(path))
      return;
    int64_t size = file.size();
    if (size <= 0)
      return;
    FileContent content = load_file(file, path, static_cast<uint64_t>(size));
    record(search_.find_all(content.bytes()), path);
  }

  References references;

 private:
  void record(const std::vector<std::optional<uint64_t>>& offsets, const std::string& path) {
    auto file = static_cast<uint32_t>(references.paths.size());
    bool held = false;
    for (size_t name = 0; name < offsets.size(); ++name) {
      if (!offsets[name])
        continue;
      references.hits[name].push_back({file, *offsets[name]});
      held = true;
    }
    if (held)
      references.paths.emplace_back(report_.relative(path));
  }

  NameSearch search_;
  const Report& report_;
};

}  // namespace

References find_references(const std::string& game_root,
                           const std::vector<std::string_view>& names, const Report& report) {
  ReferenceWalk walk(names, report);
  walk_tree(game_root, walk);
  return std::move(walk.references);
}
