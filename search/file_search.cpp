// The walk that reads and searches each searchable file once, on every core.
#include "search/file_search.h"

#include "search/file_content.h"
#include "search/filter.h"
#include "match/name_search.h"

void search_tree(const std::string& game_root, const NameSearch& search, const ResultSink& sink,
                 SinkOutput output) {
  const ContentSearch search_content = [&search](const FileContent& content,
                                                 FoundNames* found) {
    search.find_all(content.bytes(), found);
  };
  search_tree_in_order(game_root, is_searchable, search_threads(), search_content, sink,
                       output);
}
