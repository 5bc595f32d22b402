// The walk that reads and searches each file it takes once, on every core.
#include "search/file_search.h"

#include <vector>

#include "search/file_content.h"

void search_tree(const std::string& root, EntryFilter filter, const NameRule& rule,
                 const ResultSink& sink, SinkOutput output, PassedOver* passed_over) {
  const unsigned threads = search_threads();
  // One FoundNames per slot: a file's names are kept until it is handed on.
  std::vector<FoundNames> found(pool_slots(threads));
  const FileWork search = [&rule, &found](const PoolFile& file, FileContent& content) {
    if (file.searched)
      find_in_content(rule, content, &found[file.slot]);
  };
  const FileSink deliver = [&sink, &found](const PoolFile& file) {
    sink({file, found[file.slot]});
  };
  // A rule that decides each name from a few bytes reads large files in
  // pieces that stay in the processor's cache, never holding them whole.
  const Reading reading = rule.window_overlap() ? Reading::kPiecesWhenLarge : Reading::kWhole;
  read_tree_in_order(root, filter, threads, search, deliver, output, reading, passed_over);
}
