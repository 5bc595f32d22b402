// Texsift's rules for which files of the texture tree are textures.
#include "catalogue/catalogue.h"

namespace {

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

}  // namespace

bool is_texture_path(std::string_view path) {
  for (std::string_view excluded : {"ui\\", "$", "#", "_bump"})
    if (contains(path, excluded))
      return false;
  return contains(path, ".dds") || contains(path, ".tga");
}

Catalogue collect_textures(const std::string& texture_root, const GamePaths& paths,
                           Console& console) {
  const TextureRules rules{is_texture_path, false};
  return walk_textures(texture_root, paths, rules, console);
}
