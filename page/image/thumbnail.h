// Small previews of texture files, scaled to 128 pixels: what a thumbnail is, the maker, and the box filter the decoders feed.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The longest side of a thumbnail, in pixels.
constexpr uint32_t kThumbnailSide = 128;

// What became of one texture's preview.
enum class ThumbnailStatus {
  kDecoded,    // the preview was made
  kNoPreview,  // a format with no decoder here: `format` names it
  kBroken,     // the file is not what its name or header says: `problem` says why
};

// What a thumbnail tells of its texture, without its pixels: what the page shows.
struct ThumbnailInfo {
  ThumbnailStatus status = ThumbnailStatus::kBroken;
  std::string format;          // "DXT1", "DXT3", "DXT5", "RGBA32", "RGB24", "TGA", or the format shown
  std::string problem;         // for kBroken: "truncated", "not a DDS file", ...
  uint32_t width = 0;          // of the texture's top level, when its header was read
  uint32_t height = 0;
  uint32_t thumb_width = 0;    // of the preview, when kDecoded
  uint32_t thumb_height = 0;
};

// The preview of one texture file, and what its header tells of it.
struct Thumbnail : ThumbnailInfo {
  std::vector<uint8_t> rgba;   // thumb_width * thumb_height pixels, 4 bytes each, rows top down
};

// The preview of the texture file whose content is `bytes` and whose name is
// `name` (its extension chooses the decoder). A DDS file gives its smallest
// mipmap level that is at least kThumbnailSide on its longer side, scaled
// down to kThumbnailSide; a texture smaller than that is shown at its own
// size. Memory used is bounded by kThumbnailSide and the size of `bytes`,
// whatever the header claims.
Thumbnail make_thumbnail(std::string_view bytes, std::string_view name);

// Gives `count` bytes of a texture file from byte `offset`, which the caller
// has checked lie within the file, or fewer when they cannot be read. The
// bytes stay valid until the next call.
using TextureReader = std::function<std::string_view(uint64_t offset, uint64_t count)>;

// make_thumbnail of the texture file of `size` bytes named `name`, whose
// bytes `read` gives: of a DDS file only its header and the level shown are
// read, of any other file all its bytes.
Thumbnail read_thumbnail(uint64_t size, std::string_view name, const TextureReader& read);

// Rounds each red and blue byte of `rgba` (4 bytes a pixel) to the nearest of
// 32 levels and each green byte to the nearest of 64, as a DXT colour holds
// them, and leaves alpha alone: the page's thumbnails keep that precision,
// which a picture's thumbnail shows no difference for and which deflates to
// about two thirds of the size.
void round_to_dxt_colours(std::vector<uint8_t>* rgba);

// The size of the preview of a `width` by `height` image: its own size when
// its longer side is at most kThumbnailSide, otherwise scaled down to it
// (each side at least 1).
void thumbnail_size(uint32_t width, uint32_t height, uint32_t* thumb_width,
                    uint32_t* thumb_height);

// A kBroken thumbnail of `format`, for `problem`.
inline Thumbnail broken_thumbnail(std::string format, std::string problem) {
  Thumbnail thumbnail;
  thumbnail.format = std::move(format);
  thumbnail.problem = std::move(problem);
  return thumbnail;
}

// One RGBA pixel.
using Pixel = std::array<uint8_t, 4>;

// Sums the pixels of an image into the pixels of its thumbnail, box filter,
// so that no more than the thumbnail is ever held.
class Downscaler {
 public:
  // Sums for a `width` by `height` image, both above 0. The column and row
  // of the thumbnail each pixel falls in are worked out once: the tables take
  // 4 bytes per column and row of the image, which its bytes bound.
  Downscaler(uint32_t width, uint32_t height) {
    thumbnail_size(width, height, &thumb_width_, &thumb_height_);
    sums_.assign(static_cast<size_t>(thumb_width_) * thumb_height_ * 4, 0);
    counts_.assign(static_cast<size_t>(thumb_width_) * thumb_height_, 0);
    columns_ = boxes(width, thumb_width_, 1);
    rows_ = boxes(height, thumb_height_, thumb_width_);
  }

  // Adds the pixel at (`x`, `y`).
  void add(uint32_t x, uint32_t y, const Pixel& pixel) {
    size_t index = static_cast<size_t>(rows_[y]) + columns_[x];
    for (size_t c = 0; c < 4; ++c)
      sums_[index * 4 + c] += pixel[c];
    ++counts_[index];
  }

  // Gives `thumbnail` its preview, the mean of each box, and kDecoded.
  void finish(Thumbnail* thumbnail) const {
    thumbnail->thumb_width = thumb_width_;
    thumbnail->thumb_height = thumb_height_;
    thumbnail->rgba.resize(sums_.size());
    for (size_t i = 0; i < sums_.size(); ++i) {
      uint64_t count = counts_[i / 4];
      // A box of one pixel, as every box is at a level's own size, needs no division.
      thumbnail->rgba[i] = static_cast<uint8_t>(count <= 1 ? sums_[i] : (sums_[i] + count / 2) / count);
    }
    thumbnail->status = ThumbnailStatus::kDecoded;
  }

 private:
  // For each of `size` image positions, the thumbnail position of `thumb_size`
  // it falls in, times `stride`.
  static std::vector<uint32_t> boxes(uint32_t size, uint32_t thumb_size, uint32_t stride) {
    std::vector<uint32_t> table(size);
    for (uint32_t i = 0; i < size; ++i)
      table[i] = static_cast<uint32_t>(static_cast<uint64_t>(i) * thumb_size / size) * stride;
    return table;
  }

  std::vector<uint32_t> columns_;
  std::vector<uint32_t> rows_;
  uint32_t thumb_width_ = 0;
  uint32_t thumb_height_ = 0;
  std::vector<uint64_t> sums_;
  std::vector<uint64_t> counts_;
};
