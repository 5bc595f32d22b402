// Cutting texture file names into search names, and finding repeated names.
#include "common/names.h"

#include <unordered_map>

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

std::vector<uint32_t> first_occurrences(const std::vector<std::string_view>& names) {
  std::vector<uint32_t> first;
  std::unordered_map<std::string_view, uint32_t> seen;
  for (std::string_view name : names)
    first.push_back(seen.emplace(name, static_cast<uint32_t>(first.size())).first->second);
  return first;
}
