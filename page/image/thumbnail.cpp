// The thumbnail maker: the decoder the extension chooses, and a box filter down to 128 pixels.
#include "page/image/thumbnail.h"

#include <algorithm>

#include "page/image/dds.h"
#include "page/image/tga.h"
#include "text/ascii.h"

namespace {

// The extension of `name`, upper-cased, without its dot; empty when it has none.
std::string extension_of(std::string_view name) {
  size_t dot = name.find_last_of('.');
  size_t separator = name.find_last_of("\\/");
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator))
    return "";
  return upper_ascii(name.substr(dot + 1));
}

}  // namespace

void round_to_dxt_colours(std::vector<uint8_t>* rgba) {
  // The byte nearest to `value` among those a channel of `bits` bits expands
  // to, the top bits repeated below as DXT decoding does.
  auto rounded = [](uint8_t value, unsigned bits) {
    unsigned top = (2u * value * ((1u << bits) - 1) + 255) / 510;
    return static_cast<uint8_t>(top << (8 - bits) | top >> (2 * bits - 8));
  };
  static const auto table = [&] {
    std::array<std::array<uint8_t, 256>, 2> levels{};
    for (unsigned v = 0; v < 256; ++v) {
      levels[0][v] = rounded(static_cast<uint8_t>(v), 5);
      levels[1][v] = rounded(static_cast<uint8_t>(v), 6);
    }
    return levels;
  }();
  for (size_t i = 0; i + 3 < rgba->size(); i += 4) {
    (*rgba)[i] = table[0][(*rgba)[i]];
    (*rgba)[i + 1] = table[1][(*rgba)[i + 1]];
    (*rgba)[i + 2] = table[0][(*rgba)[i + 2]];
  }
}

void thumbnail_size(uint32_t width, uint32_t height, uint32_t* thumb_width,
                    uint32_t* thumb_height) {
  uint32_t longer = std::max(width, height);
  if (longer <= kThumbnailSide) {
    *thumb_width = width;
    *thumb_height = height;
    return;
  }
  *thumb_width = static_cast<uint32_t>(
      std::max<uint64_t>(1, static_cast<uint64_t>(width) * kThumbnailSide / longer));
  *thumb_height = static_cast<uint32_t>(
      std::max<uint64_t>(1, static_cast<uint64_t>(height) * kThumbnailSide / longer));
}

Thumbnail make_thumbnail(std::string_view bytes, std::string_view name) {
  return read_thumbnail(bytes.size(), name, [bytes](uint64_t offset, uint64_t count) {
    return bytes.substr(static_cast<size_t>(offset), static_cast<size_t>(count));
  });
}

Thumbnail read_thumbnail(uint64_t size, std::string_view name, const TextureReader& read) {
  std::string extension = extension_of(name);
  if (size == 0)
    return broken_thumbnail(extension.empty() ? "file" : extension, "empty file");
  if (extension == "DDS")
    return dds_thumbnail(read(0, std::min<uint64_t>(size, kDdsHeadSize)), size, read);
  if (extension == "TGA")
    return tga_thumbnail(read(0, size));
  Thumbnail thumbnail;
  thumbnail.status = ThumbnailStatus::kNoPreview;
  thumbnail.format = extension.empty() ? "no extension" : extension;
  return thumbnail;
}
