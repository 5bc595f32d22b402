// PNG files, written with zlib (see png.cpp) for the page's thumbnails.
#pragma once

#include <cstdint>
#include <string>

// The PNG file of a `width` by `height` image of 4-byte pixels, rows top down;
// empty when it cannot be made. An opaque image is written as RGB.
std::string encode_png(const uint8_t* rgba, uint32_t width, uint32_t height);
