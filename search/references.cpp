// One walk over the game tree that records every name's references for the per-texture report.
#include "search/references.h"

#include "search/file_search.h"
#include "search/filter.h"
#include "match/name_search.h"

namespace {

class ReferenceRecorder {
 public:
  ReferenceRecorder(size_t name_count, const GamePaths& paths) : paths_(paths) {
    references.hits.resize(name_count);
  }

  void on_file(const FileResult& result) {
    ++references.files_searched;
    if (!result.file.searched)
      return;
    references.bytes_searched += result.file.size;
    auto file = static_cast<uint32_t>(references.paths.size());
    bool held = false;
    for (uint32_t name : result.found.names()) {
      references.hits[name].push_back({file, *result.found.offset(name)});
      held = true;
    }
    if (held) {
      references.paths.emplace_back(paths_.from_game_root(result.file.path));
      references.native_paths.emplace_back(paths_.native_from_game_root(result.file.open_path));
    }
  }

  References references;

 private:
  const GamePaths& paths_;
};

}  // namespace

References find_references(const std::string& game_root,
                           const std::vector<std::string_view>& names, const GamePaths& paths,
                           PassedOver* passed_over) {
  NameSearch search(names);
  ReferenceRecorder recorder(names.size(), paths);
  // Nothing is printed until the walk is over: the progress line may be drawn.
  search_tree(
      game_root, is_searchable, search, [&recorder](const FileResult& result) { recorder.on_file(result); },
      SinkOutput::kSilent, passed_over);
  return std::move(recorder.references);
}
