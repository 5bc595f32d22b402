// PNG files through stb_image_write: no filter, stored deflate blocks (see stb.cpp).
#include "page/image/png.h"

#include <climits>
#include <cstring>
#include <vector>

#include "stb_image_write.h"

namespace {

// No filter: with stored blocks a filter would only cost time. Set once,
// before any thread writes a PNG.
const bool kFilterSet = (stbi_write_force_png_filter = 0, true);

void append(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                             static_cast<size_t>(size));
}

}  // namespace

std::string encode_png(const uint8_t* rgba, uint32_t width, uint32_t height) {
  std::string png;
  (void)kFilterSet;
  size_t pixels = static_cast<size_t>(width) * height;
  bool opaque = true;
  for (size_t i = 0; i < pixels && opaque; ++i)
    opaque = rgba[i * 4 + 3] == 255;
  // An opaque image is written as RGB: a quarter less to write and to read.
  std::vector<uint8_t> rgb;
  if (opaque) {
    rgb.resize(pixels * 3);
    for (size_t i = 0; i < pixels; ++i)
      memcpy(&rgb[i * 3], rgba + i * 4, 3);
  }
  int components = opaque ? 3 : 4;
  if (!stbi_write_png_to_func(append, &png, static_cast<int>(width), static_cast<int>(height),
                              components, opaque ? rgb.data() : rgba,
                              static_cast<int>(width) * components))
    png.clear();
  return png;
}
