// Valid texture files for generated trees and examples/: mipmapped DDS (DXT1, DXT5, 32-bit) and TGA.
#pragma once

#include <cstdint>
#include <string>

class Random;

enum class DdsFormat { kDxt1, kDxt5, kRgba32 };

// How a DXT texture's blocks are drawn: kNoisy with random indices between
// each block's end colours, kSmooth with the indices that follow the picture
// (and a smooth alpha fade for DXT5), as a DXT compressor makes them from a
// photograph; its thumbnails compress as real textures' do.
enum class Picture { kNoisy, kSmooth };

// A DDS file of a `width` by `height` picture (powers of two) with its whole
// mipmap chain: smooth bands of colour around `hue` (0 to 359), each level
// drawn at its own size. The DXT blocks are made directly: two end colours
// per block from the picture and indices between them as `kind` says; 32-bit
// pixels always carry a little noise.
std::string make_dds_texture(uint32_t width, uint32_t height, DdsFormat format, uint32_t hue,
                             Random& random, Picture kind = Picture::kNoisy);

// An uncompressed 24-bit TGA file of the same kind of picture.
std::string make_tga_texture(uint32_t width, uint32_t height, uint32_t hue, Random& random);

// A texture of a generated tree: DXT1 or DXT5 from 64 to 512 pixels a side,
// or 32-bit from 64 to 256, square or twice as wide, of a random hue.
std::string make_random_dds(Random& random);

// A texture like a real game's: DXT1 or DXT5 (as often), 512 pixels a side
// (4 in 10), 1024 (4 in 10) or 2048 (2 in 10), square or twice as wide, of a
// random hue, drawn smooth.
std::string make_photo_dds(Random& random);
