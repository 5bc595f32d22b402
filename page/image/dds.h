// DDS files: the thumbnail of the level nearest 128 pixels, decoded by hand.
#pragma once

#include <string_view>

#include "page/image/thumbnail.h"

// The thumbnail of the DDS file whose content is `bytes` (see make_thumbnail).
Thumbnail dds_thumbnail(std::string_view bytes);
