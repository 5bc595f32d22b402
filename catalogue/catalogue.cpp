// The walk over the texture directory and the catalogue text it fills.
#include "catalogue/catalogue.h"

#include "platform/console.h"
#include "platform/walk.h"

namespace {

// Length of "gamedata\textures\", the part of the texture root after the game root.
constexpr size_t kTextureDirLength = 18;

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

class TextureCollector : public WalkVisitor {
 public:
  TextureCollector(size_t texture_root_len, Catalogue* catalogue, Console& console)
      : texture_root_len_(texture_root_len), catalogue_(catalogue), console_(console) {}

  void on_directory(const std::string& pattern) override {
    print(console_, "collecting = '%s'\t\t\r", relative(pattern).c_str());
  }

  EntryAction classify(const std::string&, const DirEntry& entry) override {
    if (entry.name == "." || entry.name == "..")
      return EntryAction::kSkip;
    return entry.is_directory ? EntryAction::kDescend : EntryAction::kRead;
  }

  void on_file(const std::string& path, const DirEntry&) override {
    if (!is_texture_path(relative(path)))
      return;
    catalogue_->catalogue += catalogue_entry(std::string_view(path).substr(texture_root_len_));
    ++catalogue_->catalogue_count;
  }

 private:
  // `path` from the game root on.
  std::string relative(const std::string& path) const {
    return path.substr(texture_root_len_ - kTextureDirLength);
  }

  size_t texture_root_len_;
  Catalogue* catalogue_;
  Console& console_;
};

}  // namespace

void collect_textures(const std::string& directory, size_t texture_root_len,
                      Catalogue* catalogue, Console& console) {
  TextureCollector collector(texture_root_len, catalogue, console);
  walk_tree(directory, collector);
}

bool is_texture_path(std::string_view path) {
  for (std::string_view excluded : {"ui\\", "$", "#", "_bump"})
    if (contains(path, excluded))
      return false;
  return contains(path, ".dds") || contains(path, ".tga");
}

std::string catalogue_entry(std::string_view path) {
  std::string name(path);
  if (name.size() >= 3)
    name.resize(name.size() - 3);
  if (name.empty() || name.back() != '.')
    name += '.';
  return name;
}

std::vector<std::string_view> catalogue_names(std::string_view text) {
  std::vector<std::string_view> names;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('.', start);
    if (end == std::string_view::npos)
      end = text.size();
    if (end > start)
      names.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return names;
}
