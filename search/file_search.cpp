// The walk that reads and searches each searchable file once.
#include "search/file_search.h"

#include "common/file_content.h"
#include "platform/file.h"
#include "platform/timer.h"
#include "search/filter.h"
#include "search/name_search.h"

namespace {

class FileSearchWalk : public SearchableWalk {
 public:
  FileSearchWalk(const NameSearch& search, FileResultSink& sink) : search_(search), sink_(sink) {}

  void on_file(const std::string& path, const DirEntry& entry) override {
    InputFile file;
    if (!file.open(path))
      return;
    result_.path = path;
    result_.name = entry.name;
    result_.searched = load_whole_file(file, path, &content_);
    result_.size = content_.size();
    if (result_.searched) {
      int64_t perf_start = perf_counter();
      result_.offsets = search_.find_all(content_.bytes());
      result_.elapsed = perf_counter() - perf_start;
    }
    sink_.on_file(result_);
  }

 private:
  const NameSearch& search_;
  FileResultSink& sink_;
  FileContent content_;  // reused from file to file
  FileResult result_;    // likewise
};

}  // namespace

void search_tree(const std::string& game_root, const NameSearch& search, FileResultSink& sink) {
  FileSearchWalk walk(search, sink);
  walk_tree(game_root, walk);
}
