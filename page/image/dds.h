// DDS files: the thumbnail of the level nearest 128 pixels, decoded by hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "page/image/thumbnail.h"

// The most bytes of a DDS file's start that its header and a DX10 header take.
constexpr size_t kDdsHeadSize = 148;

// The thumbnail of the DDS file of `file_size` bytes whose first
// min(file_size, kDdsHeadSize) bytes are `head` (see make_thumbnail). Only the
// bytes of the level shown are read, through `read`, once the header has
// shown that they lie within the file; fewer bytes than asked make the
// thumbnail broken as "truncated".
Thumbnail dds_thumbnail(std::string_view head, uint64_t file_size, const TextureReader& read);
