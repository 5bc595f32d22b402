// What the textures' files hold beyond their names: their sizes, their companions' sizes and uses, and the textures that are copies of each other.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "search/second_look.h"

// The sizes of the textures' files and of their companions, and the groups
// of byte-identical textures.
struct TextureFiles {
  std::vector<std::optional<uint64_t>> sizes;            // per texture, when it can be read
  std::vector<std::optional<uint64_t>> companion_sizes;  // per Catalogue::companions entry
  std::vector<uint32_t> copy_group;  // per texture: its group's number (from 1), or 0 for none
  std::vector<uint64_t> copy_bytes;  // per group, from number 1 at index 0: the bytes of its copies after the first
};

// Takes the size of every texture and companion of `catalogue` on
// search_threads() threads and, with `copies`, groups the textures whose
// files hold the same bytes (see group_copies): each texture is opened once
// for its size and the hash of its first 4 KiB, and those whose size, not
// zero, and start another texture shares are read whole, in pieces, for
// their content_hash. Without `copies`, no texture is in a group.
TextureFiles read_texture_files(const Catalogue& catalogue, bool copies);

// Fills the copy groups of `files` from the textures' `sizes` and content
// `hashes` (content_hash; none for a texture not read): textures of the
// same size and hash, empty files aside, form a group. Groups are numbered
// from 1 in the catalogue order of their first textures.
void group_copies(const std::vector<std::optional<uint64_t>>& sizes,
                  const std::vector<std::optional<uint64_t>>& hashes, TextureFiles* files);

// The indexes of texture `texture`'s companions in Catalogue::companions:
// from `first` up to, not including, `second`.
std::pair<size_t, size_t> companions_of(const Catalogue& catalogue, uint32_t texture);

// The name a description gives to the bump file `companion`: its name from
// the texture root without a final "#" ("act\\foo_bump"); empty for a .thm.
std::string bump_name(const Companion& companion);

// The bump names (see bump_name) of the companions of the textures marked
// in `of`, one per texture index, each name once, in catalogue order.
std::vector<std::string> bump_names(const Catalogue& catalogue, const std::vector<bool>& of);

// For each companion of `catalogue`, the use that keeps it in the game: the
// first of the uses in `mentions` of its bump name (`bumps` being the names
// find_mentions looked for as bump names) whose description is not of the
// companion's own texture (another texture's .thm, or a textures.ltx line
// whose key is another texture). Null when there is none, and for every .thm.
std::vector<const Mention*> companion_users(const Catalogue& catalogue,
                                            const std::vector<std::string>& bumps,
                                            const Mentions& mentions);
