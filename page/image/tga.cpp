// TGA files through stb_image, with the checks it lacks: a size limit and a length check, run-length packets counted.
#include "page/image/tga.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "stb_image.h"

namespace {

// The widest and tallest TGA decoded (stb.cpp's STBI_MAX_DIMENSIONS), so that
// a header cannot ask for a huge buffer.
constexpr uint32_t kMaxTgaSide = 4096;

int to_int(size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

// True when a TGA's pixels need more bytes than the file holds, counted packet
// by packet in a run-length file; stb_image would read zeros past the end, and
// a run-length header of a few bytes could make it hold 4096 by 4096 pixels.
bool short_tga(std::string_view bytes, uint32_t width, uint32_t height) {
  auto byte = [&](size_t at) { return static_cast<uint64_t>(static_cast<uint8_t>(bytes[at])); };
  if (bytes.size() < 18)
    return true;  // stb_image read the header's missing bytes as zeros
  if ((byte(2) & 7) < 1 || (byte(2) & 7) > 3 || byte(2) > 11)
    return false;
  uint64_t colour_map = byte(1) ? (byte(5) | (byte(6) << 8)) * ((byte(7) + 7) / 8) : 0;
  uint64_t pixel_bytes = (byte(16) + 7) / 8;
  uint64_t pixels = uint64_t{width} * height;
  uint64_t at = 18 + byte(0) + colour_map;
  if (byte(2) < 8)
    return at + pixels * pixel_bytes > bytes.size();
  for (uint64_t done = 0; done < pixels;) {  // each packet takes at least a byte
    if (at >= bytes.size())
      return true;
    uint64_t count = std::min((byte(at) & 127) + 1, pixels - done);
    at += 1 + ((byte(at) & 128) ? 1 : count) * pixel_bytes;
    done += count;
  }
  return at > bytes.size();
}

}  // namespace

Thumbnail tga_thumbnail(std::string_view bytes) {
  Thumbnail thumbnail;
  thumbnail.format = "TGA";
  auto broken = [&](const char* problem) {  // keeps what the header told
    thumbnail.problem = problem;
    return thumbnail;
  };
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  int width = 0, height = 0, components = 0;
  if (bytes.size() > INT_MAX || !stbi_info_from_memory(data, to_int(bytes.size()), &width, &height,
                                                       &components))
    return broken("not a TGA file");
  thumbnail.width = static_cast<uint32_t>(width);
  thumbnail.height = static_cast<uint32_t>(height);
  if (thumbnail.width > kMaxTgaSide || thumbnail.height > kMaxTgaSide)
    return broken("too large");
  if (short_tga(bytes, thumbnail.width, thumbnail.height))
    return broken("truncated");
  std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
      stbi_load_from_memory(data, to_int(bytes.size()), &width, &height, &components, 4),
      stbi_image_free);
  if (!rgba)
    return broken("truncated");
  Downscaler out(thumbnail.width, thumbnail.height);
  for (uint32_t y = 0; y < thumbnail.height; ++y)
    for (uint32_t x = 0; x < thumbnail.width; ++x) {
      const stbi_uc* at = rgba.get() + (static_cast<size_t>(y) * thumbnail.width + x) * 4;
      out.add(x, y, Pixel{at[0], at[1], at[2], at[3]});
    }
  out.finish(&thumbnail);
  return thumbnail;
}
