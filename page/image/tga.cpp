// TGA files through stb_image, with the checks it lacks: a size limit and a length check.
#include "page/image/tga.h"

#include <climits>

#include "stb_image.h"

namespace {

int to_int(size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

// True when an uncompressed TGA is shorter than its header says; stb_image
// would read zeros past the end. Run-length files are not checked.
bool short_uncompressed_tga(std::string_view bytes, uint32_t width, uint32_t height) {
  auto byte = [&](size_t at) { return static_cast<uint64_t>(static_cast<uint8_t>(bytes[at])); };
  if (bytes.size() < 18 || byte(2) < 1 || byte(2) > 3)
    return false;
  uint64_t colour_map = byte(1) ? (byte(5) | (byte(6) << 8)) * ((byte(7) + 7) / 8) : 0;
  uint64_t pixels = uint64_t{width} * height * ((byte(16) + 7) / 8);
  return 18 + byte(0) + colour_map + pixels > bytes.size();
}

}  // namespace

const char* decode_tga(std::string_view bytes, TgaImage* image) {
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  int width = 0, height = 0, components = 0;
  if (bytes.size() > INT_MAX || !stbi_info_from_memory(data, to_int(bytes.size()), &width, &height,
                                                       &components))
    return "not a TGA file";
  image->width = static_cast<uint32_t>(width);
  image->height = static_cast<uint32_t>(height);
  if (image->width > kMaxTgaSide || image->height > kMaxTgaSide)
    return "too large";
  if (short_uncompressed_tga(bytes, image->width, image->height))
    return "truncated";
  image->rgba.reset(stbi_load_from_memory(data, to_int(bytes.size()), &width, &height,
                                          &components, 4));
  return image->rgba ? nullptr : "truncated";
}
