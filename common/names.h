// Texture names: the catalogue entry of a texture file, its search names, and each name once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The catalogue text for a texture file's path below the texture root: the
// three extension letters cut off, the "." before them kept. A name that the
// cut leaves without a final "." (x.ddsx gives x.d) gets one, and a name of
// fewer than three characters is kept whole and given one, so that no name
// runs into the next.
std::string catalogue_entry(std::string_view path);

// Appends to `names` the names of a catalogue text, cut at every "." as
// strtok cuts them: empty names are skipped, the others come in order.
void cut_names(std::string_view text, std::vector<std::string>* names);

// A list of names with each repeated name kept once, and for every name of
// the list its place among the distinct ones.
struct DistinctNames {
  std::vector<std::string_view> names;  // each name once, in order of first appearance
  std::vector<uint32_t> index_of;       // per name given: its index in `names`
};

// The distinct names of `names`, whose bytes must outlive the result.
DistinctNames distinct_names(const std::vector<std::string_view>& names);
