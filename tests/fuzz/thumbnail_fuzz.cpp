// Fuzzes make_thumbnail on DDS and TGA files: what a thumbnail must be, whatever the file's header claims.
// The first byte of the input chooses the file's name, the rest is the file. Memory is held to
// make_thumbnail's bound by run.sh (-malloc_limit_mb).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "page/image/thumbnail.h"

namespace {

constexpr const char* kNames[] = {"t.dds", "t.tga", "T.DDS", "T.TGA"};

[[noreturn]] void fail(const char* message, std::string_view name, const Thumbnail& thumbnail,
                       size_t file_size) {
  fprintf(stderr,
          "MISMATCH %s\nname: '%s', %zu bytes; status %d, format '%s', problem '%s', "
          "%u by %u, thumbnail %u by %u, %zu rgba bytes\n",
          message, std::string(name).c_str(), file_size, static_cast<int>(thumbnail.status),
          thumbnail.format.c_str(), thumbnail.problem.c_str(), thumbnail.width, thumbnail.height,
          thumbnail.thumb_width, thumbnail.thumb_height, thumbnail.rgba.size());
  abort();
}

// True when the thumbnail's size is that of a `width` by `height` image, or
// (`mipmaps`) of one of its halved levels.
bool size_of_a_level(const Thumbnail& thumbnail, uint32_t width, uint32_t height, bool mipmaps) {
  for (;;) {
    uint32_t thumb_width = 0, thumb_height = 0;
    thumbnail_size(width, height, &thumb_width, &thumb_height);
    if (thumb_width == thumbnail.thumb_width && thumb_height == thumbnail.thumb_height)
      return true;
    if (!mipmaps || (width == 1 && height == 1))
      return false;
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  std::string_view name = kNames[data[0] % 4];
  std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
  Thumbnail thumbnail = make_thumbnail(file, name);
  auto check = [&](bool holds, const char* message) {
    if (!holds)
      fail(message, name, thumbnail, file.size());
  };
  bool tga = name.ends_with("tga") || name.ends_with("TGA");
  switch (thumbnail.status) {
    case ThumbnailStatus::kDecoded:
      check(thumbnail.problem.empty() && !thumbnail.format.empty(), "decoded: a format, no problem");
      check(thumbnail.thumb_width >= 1 && thumbnail.thumb_height >= 1, "decoded: empty thumbnail");
      check(std::max(thumbnail.thumb_width, thumbnail.thumb_height) <= 128,
            "decoded: longer side past 128 pixels");
      check(thumbnail.rgba.size() == size_t{thumbnail.thumb_width} * thumbnail.thumb_height * 4,
            "decoded: pixels not of the size claimed");
      check(size_of_a_level(thumbnail, thumbnail.width, thumbnail.height, !tga),
            "decoded: the thumbnail is not of the texture's size or one of its levels");
      check(!tga || std::max(thumbnail.width, thumbnail.height) <= 4096,
            "decoded: a TGA past 4096 pixels a side");
      break;
    case ThumbnailStatus::kBroken:
      check(!thumbnail.problem.empty(), "broken without a problem");
      [[fallthrough]];
    case ThumbnailStatus::kNoPreview:
      check(!thumbnail.format.empty(), "no format named");
      check(thumbnail.rgba.empty() && thumbnail.thumb_width == 0 && thumbnail.thumb_height == 0,
            "pixels without a preview");
      break;
  }
  return 0;
}
