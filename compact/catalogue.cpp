// The compact build's walk over the texture directory and the catalogue text it fills.
#include "compact/catalogue.h"

#include "platform/console.h"
#include "platform/file.h"
#include "platform/walk.h"

namespace {

// Length of "gamedata\textures\", the part of the texture root after the game root.
constexpr size_t kTextureDirLength = 18;

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

class TextureCollector : public WalkVisitor {
 public:
  explicit TextureCollector(CompactState* state) : state_(*state) {}

  void on_directory(const std::string& pattern) override {
    print(state_.console, "collecting = '%s'\t\t\r", state_.relative(pattern));
  }

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    if (entry.name == "." || entry.name == "..")
      return EntryAction::kSkip;
    return entry.is_directory ? EntryAction::kDescend : EntryAction::kRead;
  }

  void on_file(const std::string& path, const DirEntry&) override {
    // Every file is opened, whatever its name; one that cannot be read is
    // not collected.
    InputFile file;
    if (!file.open(path) || !compact_is_texture_path(state_.relative(path)))
      return;
    state_.catalogue +=
        compact_catalogue_entry(std::string_view(path).substr(state_.texture_root_len));
    ++state_.catalogue_count;
  }

 private:
  CompactState& state_;
};

}  // namespace

const char* CompactState::relative(const std::string& path) const {
  return path.c_str() + (texture_root_len - kTextureDirLength);
}

void compact_collect_textures(const std::string& directory, CompactState* state) {
  TextureCollector collector(state);
  walk_tree(directory, collector);
}

bool compact_is_texture_path(std::string_view path) {
  for (std::string_view excluded : {"$", "#", "_bump"})
    if (contains(path, excluded))
      return false;
  return contains(path, ".dds") || contains(path, ".tga");
}

std::string compact_catalogue_entry(std::string_view path) {
  std::string name(path);
  if (name.size() >= 3)
    name.resize(name.size() - 3);
  if (name.empty() || name.back() != '.')
    name += '.';
  return name;
}

std::vector<std::string_view> compact_cut_names(std::string* text) {
  std::vector<std::string_view> names;
  size_t start = 0;
  while (start < text->size()) {
    size_t end = text->find('.', start);
    if (end == std::string::npos)
      end = text->size();
    else
      (*text)[end] = '\0';
    if (end > start)
      names.emplace_back(text->data() + start, end - start);
    start = end + 1;
  }
  return names;
}
