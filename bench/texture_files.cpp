// Valid mipmapped DDS and TGA files with pictures in them, for generated trees and examples/.
#include "bench/texture_files.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "bench/random.h"

namespace {

using Colour = std::array<int, 3>;

void append_u32(std::string* out, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    *out += static_cast<char>((value >> (8 * i)) & 0xff);
}

void append_u16(std::string* out, uint32_t value) {
  *out += static_cast<char>(value & 0xff);
  *out += static_cast<char>((value >> 8) & 0xff);
}

// The picture at (x, y) of a `width` by `height` level: bands of colour
// around `hue` that turn with the distance from the centre.
Colour picture(uint32_t x, uint32_t y, uint32_t width, uint32_t height, uint32_t hue) {
  double u = (x + 0.5) / width - 0.5, v = (y + 0.5) / height - 0.5;
  double ring = std::sin(std::sqrt(u * u + v * v) * 25.0) * 0.5 + 0.5;
  double angle = (hue + 60.0 * ring + 40.0 * u) * 3.14159265 / 180.0;
  double light = 90 + 110 * ring;
  return {static_cast<int>(light * (0.6 + 0.4 * std::cos(angle))),
          static_cast<int>(light * (0.6 + 0.4 * std::cos(angle - 2.094))),
          static_cast<int>(light * (0.6 + 0.4 * std::cos(angle + 2.094)))};
}

uint32_t rgb565(const Colour& c) {
  auto clamp = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
  return ((clamp(c[0]) >> 3) << 11) | ((clamp(c[1]) >> 2) << 5) | (clamp(c[2]) >> 3);
}

// A DXT colour block between the picture's colours at two corners of the block.
void append_colour_block(std::string* out, const Colour& a, const Colour& b, Random& random) {
  uint32_t c0 = rgb565(a), c1 = rgb565(b);
  if (c0 < c1)
    std::swap(c0, c1);
  if (c0 == c1)
    c1 = c0 ^ 1;  // four-colour mode needs c0 > c1
  if (c0 < c1)
    std::swap(c0, c1);
  append_u16(out, c0);
  append_u16(out, c1);
  // Indices 0, 2, 3, 1 run from c0 to c1; mostly along the row, a little noise.
  static const uint32_t kOrder[4] = {0, 2, 3, 1};
  uint32_t indices = 0;
  for (uint32_t i = 0; i < 16; ++i) {
    uint32_t step = std::min<uint32_t>(3, (i % 4 + (random.chance(25) ? 1 : 0)));
    indices |= kOrder[step] << (2 * i);
  }
  append_u32(out, indices);
}

void append_level(std::string* out, uint32_t width, uint32_t height, DdsFormat format,
                  uint32_t hue, Random& random) {
  if (format == DdsFormat::kRgba32) {
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x) {
        Colour c = picture(x, y, width, height, hue);
        int noise = static_cast<int>(random.below(9)) - 4;
        for (int channel : {2, 1, 0})  // B8G8R8A8 in memory
          *out += static_cast<char>(std::clamp(c[static_cast<size_t>(channel)] + noise, 0, 255));
        *out += static_cast<char>(255 - (x * 128 / width));
      }
    return;
  }
  for (uint32_t by = 0; by < std::max(1u, height / 4); ++by)
    for (uint32_t bx = 0; bx < std::max(1u, width / 4); ++bx) {
      if (format == DdsFormat::kDxt5) {
        *out += static_cast<char>(255);
        *out += static_cast<char>(96 + bx * 64 / std::max(1u, width / 4));
        for (int i = 0; i < 6; ++i)
          *out += static_cast<char>(random.below(256));
      }
      append_colour_block(out, picture(bx * 4, by * 4, width, height, hue),
                          picture(bx * 4 + 3, by * 4 + 3, width, height, hue), random);
    }
}

std::string dds_header(uint32_t width, uint32_t height, uint32_t levels, DdsFormat format) {
  std::string out = "DDS ";
  append_u32(&out, 124);
  append_u32(&out, 0x1007 | 0x20000 | (format == DdsFormat::kRgba32 ? 0x8 : 0x80000));
  append_u32(&out, height);
  append_u32(&out, width);
  append_u32(&out, format == DdsFormat::kRgba32 ? width * 4 : std::max(1u, width / 4) *
                                                                  std::max(1u, height / 4) *
                                                                  (format == DdsFormat::kDxt1 ? 8 : 16));
  append_u32(&out, 0);
  append_u32(&out, levels);
  out.append(44, '\0');
  append_u32(&out, 32);
  if (format == DdsFormat::kRgba32) {
    append_u32(&out, 0x41);  // RGB with alpha
    append_u32(&out, 0);
    append_u32(&out, 32);
    for (uint32_t mask : {0xff0000u, 0xff00u, 0xffu, 0xff000000u})
      append_u32(&out, mask);
  } else {
    append_u32(&out, 0x4);
    out += format == DdsFormat::kDxt1 ? "DXT1" : "DXT5";
    out.append(20, '\0');
  }
  append_u32(&out, 0x401008);  // texture, mipmaps, complex
  out.append(16, '\0');
  return out;
}

}  // namespace

std::string make_dds_texture(uint32_t width, uint32_t height, DdsFormat format, uint32_t hue,
                             Random& random) {
  uint32_t levels = 1;
  while ((width >> levels) || (height >> levels))
    ++levels;
  std::string out = dds_header(width, height, levels, format);
  for (uint32_t level = 0; level < levels; ++level)
    append_level(&out, std::max(1u, width >> level), std::max(1u, height >> level), format, hue,
                 random);
  return out;
}

std::string make_tga_texture(uint32_t width, uint32_t height, uint32_t hue, Random& random) {
  std::string out(18, '\0');
  out[2] = 2;  // uncompressed true colour
  out[12] = static_cast<char>(width & 0xff);
  out[13] = static_cast<char>(width >> 8);
  out[14] = static_cast<char>(height & 0xff);
  out[15] = static_cast<char>(height >> 8);
  out[16] = 24;
  out[17] = 0x20;  // rows top down
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      Colour c = picture(x, y, width, height, hue);
      int noise = static_cast<int>(random.below(17)) - 8;
      for (int channel : {2, 1, 0})
        out += static_cast<char>(std::clamp(c[static_cast<size_t>(channel)] + noise, 0, 255));
    }
  return out;
}

std::string make_random_dds(Random& random) {
  size_t kind = random.below(10);
  DdsFormat format = kind < 5 ? DdsFormat::kDxt1 : kind < 9 ? DdsFormat::kDxt5 : DdsFormat::kRgba32;
  uint32_t side = 1u << random.between(6, format == DdsFormat::kRgba32 ? 8 : 9);
  uint32_t height = random.chance(30) ? side / 2 : side;
  return make_dds_texture(side, height, format, static_cast<uint32_t>(random.below(360)), random);
}
