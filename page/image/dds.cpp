// DDS files decoded by hand: DXT1, DXT3, DXT5, and 32- and 24-bit uncompressed pixels.
#include "page/image/dds.h"

#include <algorithm>
#include <array>
#include <bit>

namespace {

constexpr size_t kDdsHeaderSize = 128;      // "DDS " and the 124-byte header
constexpr size_t kDx10HeaderSize = 20;      // the extra header of a "DX10" file
static_assert(kDdsHeadSize == kDdsHeaderSize + kDx10HeaderSize);
constexpr uint32_t kMipMapCountFlag = 0x20000;
constexpr uint32_t kFourCcFlag = 0x4;
constexpr uint32_t kRgbFlag = 0x40;
constexpr uint32_t kVolumeFlag = 0x200000;  // in caps2
constexpr uint32_t kMaxLevels = 32;

uint32_t read_u32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
  return value;
}

uint16_t read_u16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

// The four colours of a DXT colour block; `three_colour` allows DXT1's mode
// with a transparent fourth colour, which DXT3 and DXT5 do not use.
std::array<Pixel, 4> block_colours(const uint8_t* block, bool three_colour) {
  uint16_t c0 = read_u16(block);
  uint16_t c1 = read_u16(block + 2);
  auto expand = [](uint16_t c) {
    uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return Pixel{static_cast<uint8_t>((r << 3) | (r >> 2)), static_cast<uint8_t>((g << 2) | (g >> 4)),
                 static_cast<uint8_t>((b << 3) | (b >> 2)), 255};
  };
  std::array<Pixel, 4> colours{expand(c0), expand(c1), Pixel{}, Pixel{}};
  for (size_t c = 0; c < 3; ++c) {
    uint32_t a = colours[0][c], b = colours[1][c];
    if (c0 > c1 || !three_colour) {
      colours[2][c] = static_cast<uint8_t>((2 * a + b) / 3);
      colours[3][c] = static_cast<uint8_t>((a + 2 * b) / 3);
    } else {
      colours[2][c] = static_cast<uint8_t>((a + b) / 2);
      colours[3][c] = 0;
    }
  }
  colours[2][3] = 255;
  colours[3][3] = (c0 > c1 || !three_colour) ? 255 : 0;
  return colours;
}

// The 16 alphas of a DXT5 alpha block.
std::array<uint8_t, 16> dxt5_alphas(const uint8_t* block) {
  uint32_t a0 = block[0], a1 = block[1];
  std::array<uint32_t, 8> table{a0, a1, 0, 0, 0, 0, 0, 255};
  if (a0 > a1) {
    for (uint32_t i = 1; i < 7; ++i)
      table[i + 1] = ((7 - i) * a0 + i * a1) / 7;
  } else {
    for (uint32_t i = 1; i < 5; ++i)
      table[i + 1] = ((5 - i) * a0 + i * a1) / 5;
    table[6] = 0;
  }
  uint64_t bits = 0;
  for (size_t i = 0; i < 6; ++i)
    bits |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
  std::array<uint8_t, 16> alphas{};
  for (size_t i = 0; i < 16; ++i)
    alphas[i] = static_cast<uint8_t>(table[(bits >> (3 * i)) & 7]);
  return alphas;
}

enum class Encoding { kDxt1, kDxt3, kDxt5, kRgb };

// How the pixels of one DDS file are stored.
struct Layout {
  Encoding encoding = Encoding::kRgb;
  std::string format;
  uint32_t bits_per_pixel = 0;                  // kRgb
  std::array<uint32_t, 4> masks{};              // kRgb: red, green, blue, alpha
};

uint64_t block_bytes(Encoding encoding) { return encoding == Encoding::kDxt1 ? 8 : 16; }

// The bytes of a `width` by `height` level.
uint64_t level_bytes(const Layout& layout, uint64_t width, uint64_t height) {
  if (layout.encoding == Encoding::kRgb)
    return (width * layout.bits_per_pixel + 7) / 8 * height;
  return std::max<uint64_t>(1, (width + 3) / 4) * std::max<uint64_t>(1, (height + 3) / 4) *
         block_bytes(layout.encoding);
}

void decode_blocks(const uint8_t* data, const Layout& layout, uint32_t width, uint32_t height,
                   Downscaler* out) {
  uint32_t blocks_wide = std::max(1u, (width + 3) / 4);
  uint32_t blocks_high = std::max(1u, (height + 3) / 4);
  size_t size = block_bytes(layout.encoding);
  for (uint32_t by = 0; by < blocks_high; ++by) {
    for (uint32_t bx = 0; bx < blocks_wide; ++bx) {
      const uint8_t* block = data + (static_cast<size_t>(by) * blocks_wide + bx) * size;
      const uint8_t* colour = layout.encoding == Encoding::kDxt1 ? block : block + 8;
      std::array<Pixel, 4> colours = block_colours(colour, layout.encoding == Encoding::kDxt1);
      std::array<uint8_t, 16> alphas{};
      if (layout.encoding == Encoding::kDxt5)
        alphas = dxt5_alphas(block);
      uint32_t indices = static_cast<uint32_t>(read_u16(colour + 4)) |
                         (static_cast<uint32_t>(read_u16(colour + 6)) << 16);
      for (uint32_t i = 0; i < 16; ++i) {
        uint32_t x = bx * 4 + i % 4, y = by * 4 + i / 4;
        if (x >= width || y >= height)
          continue;
        Pixel pixel = colours[(indices >> (2 * i)) & 3];
        if (layout.encoding == Encoding::kDxt3)
          pixel[3] = static_cast<uint8_t>(((block[i / 2] >> (4 * (i % 2))) & 15) * 17);
        else if (layout.encoding == Encoding::kDxt5)
          pixel[3] = alphas[i];
        out->add(x, y, pixel);
      }
    }
  }
}

// A channel of an uncompressed pixel, scaled to 8 bits; 255 for a missing alpha.
uint8_t channel(uint32_t value, uint32_t mask, uint8_t missing) {
  if (mask == 0)
    return missing;
  uint32_t shift = static_cast<uint32_t>(std::countr_zero(mask));
  uint64_t max = mask >> shift;
  return static_cast<uint8_t>(((value & mask) >> shift) * 255 / max);
}

void decode_rgb(const uint8_t* data, const Layout& layout, uint32_t width, uint32_t height,
                Downscaler* out) {
  size_t pixel_bytes = layout.bits_per_pixel / 8;
  size_t pitch = (static_cast<size_t>(width) * layout.bits_per_pixel + 7) / 8;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* at = data + y * pitch + x * pixel_bytes;
      uint32_t value = 0;
      for (size_t i = 0; i < pixel_bytes; ++i)
        value |= static_cast<uint32_t>(at[i]) << (8 * i);
      out->add(x, y,
               Pixel{channel(value, layout.masks[0], 0), channel(value, layout.masks[1], 0),
                     channel(value, layout.masks[2], 0), channel(value, layout.masks[3], 255)});
    }
  }
}

std::string printable_four_cc(uint32_t four_cc) {
  std::string text;
  for (size_t i = 0; i < 4; ++i) {
    char c = static_cast<char>((four_cc >> (8 * i)) & 0xff);
    text += (c >= 0x21 && c <= 0x7e) ? c : '?';
  }
  return text;
}

// The layout a DX10 header's DXGI format gives; false for one with no decoder.
bool dxgi_layout(uint32_t dxgi, Layout* layout) {
  switch (dxgi) {
    case 71: case 72: *layout = {Encoding::kDxt1, "DXT1", 0, {}}; return true;
    case 74: case 75: *layout = {Encoding::kDxt3, "DXT3", 0, {}}; return true;
    case 77: case 78: *layout = {Encoding::kDxt5, "DXT5", 0, {}}; return true;
    case 28: case 29:
      *layout = {Encoding::kRgb, "RGBA32", 32, {0xff, 0xff00, 0xff0000, 0xff000000u}};
      return true;
    case 87: case 91:
      *layout = {Encoding::kRgb, "RGBA32", 32, {0xff0000, 0xff00, 0xff, 0xff000000u}};
      return true;
    case 88: case 93:
      *layout = {Encoding::kRgb, "RGB32", 32, {0xff0000, 0xff00, 0xff, 0}};
      return true;
    default:
      layout->format = "DDS DXGI " + std::to_string(dxgi);
      return false;
  }
}

// The layout of the legacy pixel format at offset 76; false for one with no decoder.
bool legacy_layout(std::string_view bytes, Layout* layout) {
  uint32_t flags = read_u32(bytes, 80);
  uint32_t four_cc = read_u32(bytes, 84);
  if (flags & kFourCcFlag) {
    std::string name = printable_four_cc(four_cc);
    if (name == "DXT1" || name == "DXT3" || name == "DXT5") {
      layout->encoding = name == "DXT1" ? Encoding::kDxt1 : name == "DXT3" ? Encoding::kDxt3
                                                                          : Encoding::kDxt5;
      layout->format = name;
      return true;
    }
    layout->format = "DDS " + name;
    return false;
  }
  uint32_t bits = read_u32(bytes, 88);
  if ((flags & kRgbFlag) && (bits == 32 || bits == 24)) {
    layout->encoding = Encoding::kRgb;
    layout->bits_per_pixel = bits;
    for (size_t i = 0; i < 4; ++i)
      layout->masks[i] = read_u32(bytes, 92 + 4 * i);
    if (bits == 24)
      layout->masks[3] = 0;
    bool alpha = layout->masks[3] != 0 && (flags & 0x1);
    if (!alpha)
      layout->masks[3] = 0;
    layout->format = bits == 24 ? "RGB24" : alpha ? "RGBA32" : "RGB32";
    return true;
  }
  layout->format = "DDS " + std::to_string(bits) + "-bit";
  return false;
}

}  // namespace

Thumbnail dds_thumbnail(std::string_view head, uint64_t file_size, const TextureReader& read) {
  if (head.size() < 4 || head.substr(0, 4) != "DDS ")
    return broken_thumbnail("DDS", "not a DDS file");
  if (head.size() < kDdsHeaderSize)
    return broken_thumbnail("DDS", "truncated");
  Thumbnail thumbnail;
  thumbnail.height = read_u32(head, 12);
  thumbnail.width = read_u32(head, 16);
  Layout layout;
  size_t data_start = kDdsHeaderSize;
  bool known;
  if ((read_u32(head, 80) & kFourCcFlag) && printable_four_cc(read_u32(head, 84)) == "DX10") {
    if (head.size() < kDdsHeaderSize + kDx10HeaderSize)
      return broken_thumbnail("DDS", "truncated");
    known = dxgi_layout(read_u32(head, kDdsHeaderSize), &layout);
    data_start += kDx10HeaderSize;
  } else {
    known = legacy_layout(head, &layout);
  }
  thumbnail.format = layout.format;
  if (thumbnail.width == 0 || thumbnail.height == 0) {
    thumbnail.problem = "zero size";
    return thumbnail;
  }
  if (!known || (read_u32(head, 112) & kVolumeFlag)) {
    thumbnail.status = ThumbnailStatus::kNoPreview;
    if (known)
      thumbnail.format = "DDS volume";
    return thumbnail;
  }
  uint32_t levels = (read_u32(head, 8) & kMipMapCountFlag) ? read_u32(head, 28) : 1;
  levels = std::clamp(levels, 1u, kMaxLevels);
  // The smallest level at least kThumbnailSide on its longer side, or the
  // top level; each level's bytes are checked against the file before use.
  uint64_t offset = data_start;
  uint64_t size = 0;
  uint32_t width = thumbnail.width, height = thumbnail.height;
  for (uint32_t level = 0;; ++level) {
    size = level_bytes(layout, width, height);
    if (size > file_size - std::min<uint64_t>(offset, file_size))
      return broken_thumbnail(thumbnail.format, "truncated");
    uint32_t next_width = std::max(1u, width / 2), next_height = std::max(1u, height / 2);
    if (level + 1 >= levels || std::max(next_width, next_height) < kThumbnailSide ||
        (width == 1 && height == 1))
      break;
    offset += size;
    width = next_width;
    height = next_height;
  }
  std::string_view pixels = read(offset, size);
  if (pixels.size() < size)
    return broken_thumbnail(thumbnail.format, "truncated");
  Downscaler out(width, height);
  const auto* data = reinterpret_cast<const uint8_t*>(pixels.data());
  if (layout.encoding == Encoding::kRgb)
    decode_rgb(data, layout, width, height, &out);
  else
    decode_blocks(data, layout, width, height, &out);
  out.finish(&thumbnail);
  return thumbnail;
}
