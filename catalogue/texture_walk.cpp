// The walk over the texture directory that collects the catalogue by a program's texture rules.
#include "catalogue/catalogue.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "search/file_pool.h"
#include "text/console.h"
#include "platform/fs.h"
#include "search/walk.h"
#include "text/ascii.h"

namespace {

// The length of the companion's own part of `name` (in small letters): its
// ending after the texture's stem, or 0 when it is no companion's name.
size_t companion_ending(std::string_view name) {
  for (std::string_view ending : {".thm", "_bump.dds", "_bump.tga", "_bump#.dds", "_bump#.tga"})
    if (name.size() > ending.size() && name.substr(name.size() - ending.size()) == ending)
      return ending.size();
  return 0;
}

}  // namespace

namespace {

class TextureCollector : public WalkVisitor {
 public:
  TextureCollector(size_t texture_root_len, const GamePaths& paths, const TextureRules& rules,
                   Console& console)
      : texture_root_len_(texture_root_len), paths_(paths), rules_(rules), console_(console) {}

  void on_directory(const std::string& pattern) override {
    // On a terminal the rest of a longer line shown before is cleared.
    print(console_, "collecting = '%s'", paths_.from_game_root(pattern));
    console_.clear_to_end_of_line();
    print(console_, "\t\t\r");
  }

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    return entry.is_directory ? EntryAction::kDescend : EntryAction::kRead;
  }

  // A name shown in part would give a catalogue name with a '?' for the
  // characters it lacks, which no file refers to: such entries are skipped.
  bool takes_names_in_part() const override { return false; }

  // Only a texture by its path is opened: for any other file whether it
  // opens changes nothing.
  void on_file(const std::string& path, const std::string& open_path,
               const DirEntry&) override {
    if (!is_texture_path(paths_.from_game_root(path), rules_)) {
      if (size_t ending = companion_ending(lower_ascii(path)))
        candidates_.push_back({paths_.from_game_root(path), open_path,
                               std::string(std::string_view(path).substr(
                                   texture_root_len_, path.size() - texture_root_len_ - 4)),
                               0, ending > 4});
      return;
    }
    if (rules_.must_open)
      to_open_.emplace_back(path, open_path);
    else
      add(path, open_path);
  }

  // Adds, in walk order, the textures met that must open and do, trying
  // them on `threads` threads.
  void add_those_that_open(unsigned threads) {
    std::vector<char> opens = open_on_threads(to_open_, threads);
    for (size_t i = 0; i < to_open_.size(); ++i)
      if (opens[i])
        add(to_open_[i].first, to_open_[i].second);
    to_open_.clear();
  }

  // Gives each candidate whose stem is a texture's to that texture.
  void add_companions() {
    std::unordered_map<std::string, uint32_t> stems;
    for (uint32_t i = 0; i < catalogue.textures.size(); ++i) {
      const std::string& path = catalogue.textures[i].path;
      stems.emplace(lower_ascii(std::string_view(path).substr(0, path.rfind('.'))), i);
    }
    for (Companion& candidate : candidates_) {
      std::string stem = lower_ascii(candidate.path.substr(
          0, candidate.path.size() - companion_ending(lower_ascii(candidate.path))));
      auto texture = stems.find(stem);
      if (texture == stems.end())
        continue;
      candidate.texture = texture->second;
      catalogue.companions.push_back(std::move(candidate));
    }
    std::stable_sort(catalogue.companions.begin(), catalogue.companions.end(),
                     [](const Companion& a, const Companion& b) { return a.texture < b.texture; });
  }

  Catalogue catalogue;

 private:
  // Whether each file opens for reading. Opening is the system's work, and a
  // large texture tree has tens of thousands of files: threads take turns
  // of 64 files.
  static std::vector<char> open_on_threads(
      const std::vector<std::pair<std::string, std::string>>& files, unsigned threads) {
    std::vector<char> opens(files.size());
    run_on_threads(files.size(), threads, 64,
                   [&](size_t i) { opens[i] = opens_for_reading(files[i].second); });
    return opens;
  }

  void add(const std::string& path, const std::string& open_path) {
    CatalogueTexture texture;
    texture.path = paths_.from_game_root(path);
    texture.open_path = open_path;
    texture.first_name = static_cast<uint32_t>(catalogue.names.size());
    cut_names(catalogue_entry(std::string_view(path).substr(texture_root_len_)),
              &catalogue.names);
    texture.name_count = static_cast<uint32_t>(catalogue.names.size()) - texture.first_name;
    catalogue.textures.push_back(std::move(texture));
  }

  size_t texture_root_len_;
  const GamePaths& paths_;
  const TextureRules rules_;
  Console& console_;
  std::vector<std::pair<std::string, std::string>> to_open_;  // (path, open path)
  std::vector<Companion> candidates_;  // files named as a companion is, in walk order
};

}  // namespace

std::vector<std::string_view> Catalogue::name_views() const {
  return std::vector<std::string_view>(names.begin(), names.end());
}

Catalogue collect_textures(const std::string& texture_root, const GamePaths& paths,
                           Console& console, const TextureRules& rules) {
  // Names are cut from the paths as shown, which may be shorter than the root as given.
  TextureCollector collector(to_shown_name(texture_root).size(), paths, rules, console);
  const unsigned threads = search_threads_quietly();
  walk_tree(texture_root, collector, listing_helpers(threads));
  collector.add_those_that_open(threads);
  collector.add_companions();
  return std::move(collector.catalogue);
}

void warn_if_no_textures(const Catalogue& catalogue, const std::string& game_root) {
  if (!catalogue.textures.empty())
    return;
  std::string texture_root = native_path(to_shown_name(texture_root_of(game_root)));
  std::string suggestion = suggested_game_root(game_root);
  if (suggestion.empty())
    warning("no textures found under '%s'", texture_root.c_str());
  else
    warning("no textures found under '%s'; did you mean '%s'?", texture_root.c_str(),
            native_path(to_shown_name(suggestion)).c_str());
}
