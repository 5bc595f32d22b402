// Finding repeated names among those a search looks for.
#include "match/names.h"

#include <unordered_map>

std::vector<uint32_t> first_occurrences(const std::vector<std::string_view>& names) {
  std::vector<uint32_t> first;
  std::unordered_map<std::string_view, uint32_t> seen;
  for (std::string_view name : names)
    first.push_back(seen.emplace(name, static_cast<uint32_t>(first.size())).first->second);
  return first;
}
