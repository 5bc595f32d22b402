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

// The nearest of the four colours from `c0` to `c1` (indices 0, 2, 3, 1 in
// that order) to `colour`, projected on the line between them.
uint32_t nearest_index(const Colour& c0, const Colour& c1, const Colour& colour) {
  static const uint32_t kOrder[4] = {0, 2, 3, 1};
  double along = 0, length = 0;
  for (size_t c = 0; c < 3; ++c) {
    along += static_cast<double>((colour[c] - c0[c]) * (c1[c] - c0[c]));
    length += static_cast<double>((c1[c] - c0[c]) * (c1[c] - c0[c]));
  }
  double t = length > 0 ? std::clamp(along / length, 0.0, 1.0) : 0.0;
  return kOrder[static_cast<size_t>(t * 3 + 0.5)];
}

// The picture of the smooth kind at (x, y): the bands with a gentle wave
// over them, like a photograph's shading.
Colour smooth_picture(double x, double y, uint32_t width, uint32_t height, uint32_t hue) {
  Colour c = picture(static_cast<uint32_t>(x), static_cast<uint32_t>(y), width, height, hue);
  double wave = 18 * std::sin(x * 12.0 / width) * std::cos(y * 9.0 / height);
  for (int& channel : c)
    channel = std::clamp(channel + static_cast<int>(wave), 0, 255);
  return c;
}

// One DXT colour block of the smooth kind at block (bx, by): the picture at
// the block's corners interpolated over its pixels, encoded between the
// darkest and the brightest corner as a DXT compressor would.
void append_smooth_colour_block(std::string* out, uint32_t bx, uint32_t by, uint32_t width,
                                uint32_t height, uint32_t hue) {
  std::array<Colour, 4> corners;
  for (uint32_t i = 0; i < 4; ++i)
    corners[i] = smooth_picture(bx * 4 + (i % 2) * 4.0, by * 4 + (i / 2) * 4.0, width, height, hue);
  auto brightness = [](const Colour& c) { return c[0] * 3 + c[1] * 6 + c[2]; };
  auto [low, high] = std::minmax_element(corners.begin(), corners.end(), [&](auto& a, auto& b) {
    return brightness(a) < brightness(b);
  });
  uint32_t c0 = rgb565(*high), c1 = rgb565(*low);
  Colour end0 = *high, end1 = *low;
  if (c0 < c1) {  // four-colour mode needs c0 > c1
    std::swap(c0, c1);
    std::swap(end0, end1);
  }
  if (c0 == c1) {
    c0 |= 1;
    c1 = c0 ^ 1;
  }
  append_u16(out, c0);
  append_u16(out, c1);
  uint32_t indices = 0;
  for (uint32_t i = 0; i < 16; ++i) {
    double u = (i % 4) / 4.0, v = (i / 4) / 4.0;
    Colour colour;
    for (size_t c = 0; c < 3; ++c)
      colour[c] = static_cast<int>((1 - u) * (1 - v) * corners[0][c] + u * (1 - v) * corners[1][c] +
                                   (1 - u) * v * corners[2][c] + u * v * corners[3][c]);
    indices |= nearest_index(end0, end1, colour) << (2 * i);
  }
  append_u32(out, indices);
}

// A DXT5 alpha block of the smooth kind: a fade from left to right, eight steps between 255 and 96.
void append_smooth_alpha_block(std::string* out, uint32_t bx, uint32_t width) {
  *out += static_cast<char>(255);
  *out += static_cast<char>(96);
  uint64_t bits = 0;
  for (uint32_t i = 0; i < 16; ++i) {
    uint32_t step = std::min<uint32_t>(7, (bx * 4 + i % 4) * 8 / std::max(1u, width));
    // Codes 0 and 1 are the ends; 2 to 7 the six steps between them.
    uint64_t code = step == 0 ? 0 : step == 7 ? 1 : step + 1;
    bits |= code << (3 * i);
  }
  for (int i = 0; i < 6; ++i)
    *out += static_cast<char>((bits >> (8 * i)) & 0xff);
}

void append_smooth_level(std::string* out, uint32_t width, uint32_t height, DdsFormat format,
                         uint32_t hue) {
  for (uint32_t by = 0; by < std::max(1u, height / 4); ++by)
    for (uint32_t bx = 0; bx < std::max(1u, width / 4); ++bx) {
      if (format == DdsFormat::kDxt5)
        append_smooth_alpha_block(out, bx, width);
      append_smooth_colour_block(out, bx, by, width, height, hue);
    }
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
                             Random& random, Picture kind) {
  uint32_t levels = 1;
  while ((width >> levels) || (height >> levels))
    ++levels;
  std::string out = dds_header(width, height, levels, format);
  for (uint32_t level = 0; level < levels; ++level) {
    uint32_t level_width = std::max(1u, width >> level), level_height = std::max(1u, height >> level);
    if (kind == Picture::kSmooth && format != DdsFormat::kRgba32)
      append_smooth_level(&out, level_width, level_height, format, hue);
    else
      append_level(&out, level_width, level_height, format, hue, random);
  }
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

std::string make_photo_dds(Random& random) {
  DdsFormat format = random.chance(50) ? DdsFormat::kDxt1 : DdsFormat::kDxt5;
  size_t kind = random.below(10);  // 512: 4 in 10, 1024: 4 in 10, 2048: 2 in 10
  uint32_t side = kind < 4 ? 512 : kind < 8 ? 1024 : 2048;
  uint32_t height = random.chance(30) ? side / 2 : side;
  return make_dds_texture(side, height, format, static_cast<uint32_t>(random.below(360)), random,
                          Picture::kSmooth);
}
