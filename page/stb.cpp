// The stb implementations, TGA reading only; built without this project's warnings (see CMakeLists.txt).
#include "page/tga.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 4096
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"

// PNGs are written with stored (uncompressed) deflate blocks: stb's own
// deflate cost about 2 ms of CPU per 128-pixel thumbnail, more than reading,
// decoding and writing its file together, for files at most about 2.5 times
// larger (a thumbnail is at most 64 KiB raw).
static unsigned char* stored_zlib(const unsigned char* data, int data_len, int* out_len,
                                  int quality);
#define STBIW_ZLIB_COMPRESS stored_zlib
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"

// A zlib stream of `data` in stored deflate blocks, allocated with malloc as
// stb_image_write frees it; null when out of memory.
static unsigned char* stored_zlib(const unsigned char* data, int data_len, int* out_len, int) {
  constexpr size_t kBlock = 65535;
  size_t size = static_cast<size_t>(data_len);
  size_t blocks = size == 0 ? 1 : (size + kBlock - 1) / kBlock;
  size_t total = 2 + blocks * 5 + size + 4;
  if (total > INT_MAX)
    return nullptr;
  auto* out = static_cast<unsigned char*>(malloc(total));
  if (!out)
    return nullptr;
  unsigned char* at = out;
  *at++ = 0x78;  // deflate, 32 KiB window
  *at++ = 0x01;  // no preset dictionary, fastest; 0x7801 is a multiple of 31
  size_t done = 0;
  do {
    size_t length = std::min(kBlock, size - done);
    *at++ = done + length == size ? 1 : 0;  // BFINAL, BTYPE 00: stored
    *at++ = static_cast<unsigned char>(length);
    *at++ = static_cast<unsigned char>(length >> 8);
    *at++ = static_cast<unsigned char>(~length);
    *at++ = static_cast<unsigned char>(~length >> 8);
    if (length)
      memcpy(at, data + done, length);
    at += length;
    done += length;
  } while (done < size);
  uint32_t s1 = 1, s2 = 0;  // Adler-32, reduced every 5552 bytes so that s2 cannot overflow
  for (size_t i = 0; i < size;) {
    for (size_t end = std::min(size, i + 5552); i < end; ++i) {
      s1 += data[i];
      s2 += s1;
    }
    s1 %= 65521;
    s2 %= 65521;
  }
  for (uint32_t value : {s2 >> 8, s2, s1 >> 8, s1})
    *at++ = static_cast<unsigned char>(value);
  *out_len = static_cast<int>(at - out);
  return out;
}

namespace {

// No filter: with stored blocks a filter would only cost time. Set once,
// before any thread writes a PNG.
const bool kFilterSet = (stbi_write_force_png_filter = 0, true);

int to_int(size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

void append(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                             static_cast<size_t>(size));
}

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
