// Repeated names among those a search looks for.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// For each of `names`, the index of its first occurrence in the list: its own
// index, unless it repeats an earlier name.
std::vector<uint32_t> first_occurrences(const std::vector<std::string_view>& names);
