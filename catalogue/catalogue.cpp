// Which files of the texture tree are textures, and the names cut from a texture's path.
#include "catalogue/catalogue.h"

#include "text/ascii.h"

bool is_texture_path(std::string_view path, const TextureRules& rules) {
  for (std::string_view excluded : {"$", "#", "_bump"})
    if (contains(path, excluded))
      return false;
  if (!rules.ui_textures_count && contains(path, "ui\\"))
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

void cut_names(std::string_view text, std::vector<std::string>* names) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('.', start);
    if (end == std::string_view::npos)
      end = text.size();
    if (end > start)
      names->emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
}
