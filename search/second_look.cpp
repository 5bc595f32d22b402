// The second look: one more search of many names at once, case folded, over the files the search passes over.
#include "search/second_look.h"

#include <algorithm>
#include <iterator>

#include "match/mention_search.h"
#include "search/file_search.h"
#include "search/filter.h"
#include "text/ascii.h"

namespace {

// Files that hold no name as text, or that describe the textures themselves.
// Compiled level geometry (vertices, collision, AI nodes, occlusion) is most
// of a level's bytes and holds no names.
constexpr std::string_view kNoTextExtensions[] = {
    ".dds", ".tga", ".png", ".jpg", ".jpeg", ".bmp",           // images
    ".ogg", ".wav", ".mp3",                                    // sounds
    ".ogm", ".avi", ".bik", ".mp4",                            // videos
    ".zip", ".rar", ".7z",  ".db",  ".xdb",  ".gz",            // archives
    ".thm",                                                    // texture descriptions
    ".geom", ".cform", ".ai", ".hom", ".graph", ".som",        // compiled level geometry
};

bool holds_no_text(std::string_view name) {
  std::string lower = lower_ascii(name);
  if (lower == "textures.ltx")
    return true;
  size_t dot = lower.rfind('.');
  if (dot == std::string::npos)
    return false;
  std::string_view extension = std::string_view(lower).substr(dot);
  return std::find(std::begin(kNoTextExtensions), std::end(kNoTextExtensions), extension) !=
         std::end(kNoTextExtensions);
}

}  // namespace

EntryAction second_look_action(const DirEntry& entry) {
  EntryAction search_action = is_searchable(entry);
  if (entry.is_directory)
    return search_action;
  if (search_action == EntryAction::kRead || holds_no_text(entry.name))
    return EntryAction::kSkip;
  return EntryAction::kRead;
}

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
