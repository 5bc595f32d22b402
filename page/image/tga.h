// TGA files, read by stb_image (see stb.cpp).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

// The widest and tallest TGA decoded, so that a header cannot ask for a huge buffer.
constexpr uint32_t kMaxTgaSide = 4096;

// A decoded TGA image.
struct TgaImage {
  struct Free {
    void operator()(uint8_t* pixels) const { free(pixels); }
  };
  uint32_t width = 0;   // from the header, also when decoding failed
  uint32_t height = 0;
  std::unique_ptr<uint8_t, Free> rgba;  // width * height pixels, 4 bytes each, rows top down
};

// Decodes the TGA file whose content is `bytes` into `image`. Null when it
// did; otherwise why not ("not a TGA file", "truncated", "too large").
const char* decode_tga(std::string_view bytes, TgaImage* image);
