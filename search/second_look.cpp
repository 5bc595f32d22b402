// The second look: one more search of many names at once, case folded, over the files the search passes over.
#include "search/second_look.h"

#include "match/mention_search.h"
#include "search/file_search.h"
#include "search/filter.h"

Mentions find_mentions(const std::string& game_root, const std::vector<std::string_view>& names,
                       const std::vector<uint32_t>& looked_for, const GamePaths& paths) {
  Mentions mentions;
  mentions.hits.resize(names.size());
  if (looked_for.empty())
    return mentions;
  std::vector<std::string_view> looked_for_names;
  for (uint32_t name : looked_for)
    looked_for_names.push_back(names[name]);
  const MentionSearch search(looked_for_names);
  const ResultSink sink = [&](const FileResult& result) {
    if (!result.file.searched || result.found.names().empty())
      return;
    auto file = static_cast<uint32_t>(mentions.paths.size());
    mentions.paths.emplace_back(paths.native_from_game_root(result.file.open_path));
    for (uint32_t name : result.found.names())
      mentions.hits[looked_for[name]].push_back(
          {file, *result.found.offset(name), result.found.form(name)});
  };
  search_tree(game_root, second_look_action, search, sink, SinkOutput::kSilent);
  return mentions;
}
