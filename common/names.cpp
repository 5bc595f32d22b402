// Cutting texture file names into search names, and each name once.
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

DistinctNames distinct_names(const std::vector<std::string_view>& names) {
  DistinctNames distinct;
  std::unordered_map<std::string_view, uint32_t> seen;
  for (std::string_view name : names) {
    auto [it, added] = seen.emplace(name, static_cast<uint32_t>(distinct.names.size()));
    if (added)
      distinct.names.push_back(name);
    distinct.index_of.push_back(it->second);
  }
  return distinct;
}
