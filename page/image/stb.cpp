// The stb implementations (TGA reading, PNG writing) and the stored-block deflate stb_image_write is given;
// built without this project's warnings (see CMakeLists.txt). tga.cpp and png.cpp use them.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

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
