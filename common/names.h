// Texture names: the catalogue entry of a texture file, its search names, and repeated names.
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

// For each of `names`, the index of its first occurrence in the list: its own
// index, unless it repeats an earlier name.
std::vector<uint32_t> first_occurrences(const std::vector<std::string_view>& names);
