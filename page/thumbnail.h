// Small previews of texture files: DDS (DXT1, DXT3, DXT5, 32- and 24-bit) and TGA, scaled to 128 pixels.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The longest side of a thumbnail, in pixels.
constexpr uint32_t kThumbnailSide = 128;

// What became of one texture's preview.
enum class ThumbnailStatus {
  kDecoded,    // `rgba` holds the preview
  kNoPreview,  // a format with no decoder here: `format` names it
  kBroken,     // the file is not what its name or header says: `problem` says why
};

// The preview of one texture file, and what its header tells of it.
struct Thumbnail {
  ThumbnailStatus status = ThumbnailStatus::kBroken;
  std::string format;          // "DXT1", "DXT3", "DXT5", "RGBA32", "RGB24", "TGA", or the format shown
  std::string problem;         // for kBroken: "truncated", "not a DDS file", ...
  uint32_t width = 0;          // of the texture's top level, when its header was read
  uint32_t height = 0;
  uint32_t thumb_width = 0;    // of `rgba`
  uint32_t thumb_height = 0;
  std::vector<uint8_t> rgba;   // thumb_width * thumb_height pixels, 4 bytes each, rows top down
};

// The preview of the texture file whose content is `bytes` and whose name is
// `name` (its extension chooses the decoder). A DDS file gives its smallest
// mipmap level that is at least kThumbnailSide on its longer side, scaled
// down to kThumbnailSide; a texture smaller than that is shown at its own
// size. Memory used is bounded by kThumbnailSide and the size of `bytes`,
// whatever the header claims.
Thumbnail make_thumbnail(std::string_view bytes, std::string_view name);

// The size of the preview of a `width` by `height` image: its own size when
// its longer side is at most kThumbnailSide, otherwise scaled down to it
// (each side at least 1).
void thumbnail_size(uint32_t width, uint32_t height, uint32_t* thumb_width,
                    uint32_t* thumb_height);
