// TGA files: the thumbnail, from the image stb_image reads (see stb.cpp).
#pragma once

#include <string_view>

#include "page/image/thumbnail.h"

// The thumbnail of the TGA file whose content is `bytes` (see make_thumbnail);
// broken as "not a TGA file", "too large" (past 4096 pixels a side) or
// "truncated" (fewer bytes than its pixels need, run-length packets counted).
// Its pixels are held whole, 4 bytes each, and the file holds them: at most
// 128 pixels for each 2 bytes of run-length packets.
Thumbnail tga_thumbnail(std::string_view bytes);
