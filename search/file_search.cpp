// The walk that reads and searches each file it takes once, on every core.
#include "search/file_search.h"

#include <vector>

#include "search/file_content.h"

void search_tree(const std::string& root, EntryFilter filter, const NameRule& rule,
                 const ResultSink& sink, SinkOutput output) {
  const unsigned threads = search_threads();
  // One FoundNames per slot: a file's names are kept until it is handed on.
  std::vector<FoundNames> found(pool_slots(threads));
  const FileWork search = [&rule, &found](const PoolFile& file, const FileContent& content) {
    if (file.searched)
      rule.find_all(content.bytes(), &found[file.slot]);
  };
  const FileSink deliver = [&sink, &found](const PoolFile& file) {
    sink({file, found[file.slot]});
  };
  read_tree_in_order(root, filter, threads, search, deliver, output);
}
