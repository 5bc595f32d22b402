// The second look: one more search of many names at once, case folded, over the files the search passes over and the texture descriptions.
#include "search/second_look.h"

#include "match/description_uses.h"
#include "match/mention_search.h"
#include "search/file_content.h"
#include "search/file_pool.h"
#include "text/ascii.h"

namespace {

// What the second look found in one file, kept in its slot until it is handed on.
struct SlotFinding {
  FoundNames found;                   // the mentions, for a file read as any other
  std::vector<DescriptionUse> uses;   // the uses, for a texture description
};

// The path from the texture root of the file at `path` (from the game root),
// when it is below it; empty otherwise.
std::string_view below_texture_root(std::string_view path) {
  constexpr std::string_view kTextureRoot = "gamedata\\textures\\";
  if (path.size() <= kTextureRoot.size() || lower_ascii(path.substr(0, kTextureRoot.size())) !=
                                                 kTextureRoot)
    return {};
  return path.substr(kTextureRoot.size());
}

}  // namespace

Mentions find_mentions(const std::vector<PoolFile>& files, const std::vector<std::string_view>& names,
                       const std::vector<uint32_t>& looked_for, const GamePaths& paths,
                       const std::vector<std::string_view>& bumps) {
  Mentions mentions;
  mentions.hits.resize(names.size());
  mentions.bump_uses.resize(bumps.size());
  if (looked_for.empty() && bumps.empty())
    return mentions;
  std::vector<std::string_view> looked_for_names;
  for (uint32_t name : looked_for)
    looked_for_names.push_back(names[name]);
  // The descriptions are searched for the bump names too, after the others.
  std::vector<std::string_view> described_names = looked_for_names;
  described_names.insert(described_names.end(), bumps.begin(), bumps.end());
  const MentionSearch search(looked_for_names);
  const MentionSearch described(described_names);

  const unsigned threads = search_threads();
  std::vector<SlotFinding> slots(pool_slots(threads));
  const FileWork work = [&](const PoolFile& file, FileContent& content) {
    SlotFinding& slot = slots[file.slot];
    slot.found.reset(looked_for_names.size());
    slot.uses.clear();
    if (!file.searched)
      return;
    if (!is_description_name(file.name)) {
      find_in_content(search, content, &slot.found);
    } else if (std::string_view name = below_texture_root(paths.from_game_root(file.path));
               !name.empty() && content.hold_whole()) {
      slot.uses = description_uses(name, content.bytes(), described);
    }
  };
  const FileSink sink = [&](const PoolFile& file) {
    const SlotFinding& slot = slots[file.slot];
    if (!file.searched || (slot.found.names().empty() && slot.uses.empty()))
      return;
    auto index = static_cast<uint32_t>(mentions.paths.size());
    mentions.paths.emplace_back(paths.native_from_game_root(file.open_path));
    for (uint32_t name : slot.found.names())
      mentions.hits[looked_for[name]].push_back(
          {index, *slot.found.offset(name), slot.found.form(name), std::nullopt});
    for (const DescriptionUse& use : slot.uses) {
      Mention mention{index, use.offset, use.form, use.describes};
      if (use.name < looked_for.size())
        mentions.hits[looked_for[use.name]].push_back(std::move(mention));
      else
        mentions.bump_uses[use.name - looked_for.size()].push_back(std::move(mention));
    }
  };
  // Large files are read in pieces when the mention forms allow; a texture
  // description is read whole when it comes to be searched.
  const Reading reading = search.window_overlap() ? Reading::kPiecesWhenLarge : Reading::kWhole;
  read_files_in_order(files, threads, work, sink, SinkOutput::kSilent, reading);
  return mentions;
}
