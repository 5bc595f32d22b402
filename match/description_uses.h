// The texture descriptions (.thm files and textures.ltx) read for the names they use: which parts count, and which texture each use belongs to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "match/found_names.h"
#include "match/mention_search.h"

// One name used through a texture description.
struct DescriptionUse {
  uint32_t name = 0;      // index into the names the MentionSearch was given
  uint64_t offset = 0;    // of the use's first byte in the description's content
  NameForm form;          // how it is written there
  std::string describes;  // the texture the description is of: the .thm's texture, or the line's key
};

// True when `name`, a path from the texture root ("door\door_bunker_1.thm",
// "textures.ltx") or a bare file name, is that of a texture description: it
// ends in ".thm", or it is "textures.ltx", in any letter case.
bool is_description_name(std::string_view name);

// The uses in the texture description whose path from the texture root is
// `name` and whose bytes are `content`, of the names `search` was made for,
// each found by the mention rule (see MentionSearch), in content order:
// - "DIR\NAME.thm" (any case) describes the texture DIR\NAME: the first
//   mention of each name in the whole content is a use, unless the name is
//   DIR\NAME itself (any case, "/" or "\");
// - "textures.ltx" (any case, in the texture root itself): each line (ended
//   by LF) holding "=" describes the texture its key names (the bytes before
//   the first "=", spaces and tabs trimmed); the first mention of each name
//   after that "=" up to the line's end is a use, unless the name is the key
//   (any case, "/" or "\"); a name before the "=" is never a use;
// - any other name: no uses.
// Every use's `offset` is where the bytes of a mention of the name stand in
// `content`, and the bytes that follow them are no letter, digit or "_".
// Never fails: any bytes give some list of uses, possibly empty.
std::vector<DescriptionUse> description_uses(std::string_view name, Bytes content,
                                             const MentionSearch& search);
