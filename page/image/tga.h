// TGA files: the thumbnail, from the image stb_image reads (see stb.cpp).
#pragma once

#include <string_view>

#include "page/image/thumbnail.h"

// The thumbnail of the TGA file whose content is `bytes` (see make_thumbnail);
// broken as "not a TGA file", "too large" (past 4096 pixels a side) or
// "truncated".
Thumbnail tga_thumbnail(std::string_view bytes);
