// Helpers for the page's tests: DDS headers built byte by byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline void append_u32(std::string* out, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    *out += static_cast<char>((value >> (8 * i)) & 0xff);
}

inline void append_u16(std::string* out, uint16_t value) {
  *out += static_cast<char>(value & 0xff);
  *out += static_cast<char>(value >> 8);
}

// The 128 bytes that begin a DDS file: "DDS " and the header, with `levels`
// mipmap levels and a pixel format of `four_cc` (or of `bits` per pixel and
// `masks`, red, green, blue and alpha, when `four_cc` is null).
inline std::string dds_header(uint32_t width, uint32_t height, uint32_t levels,
                              const char* four_cc, uint32_t bits = 0,
                              std::array<uint32_t, 4> masks = {}) {
  std::string header = "DDS ";
  append_u32(&header, 124);
  append_u32(&header, 0x1007 | (levels > 1 ? 0x20000u : 0u));
  append_u32(&header, height);
  append_u32(&header, width);
  append_u32(&header, 0);
  append_u32(&header, 0);
  append_u32(&header, levels);
  header.append(44, '\0');
  append_u32(&header, 32);
  append_u32(&header, four_cc ? 0x4u : (masks[3] ? 0x41u : 0x40u));
  uint32_t code = 0;
  for (int i = 0; four_cc && i < 4; ++i)
    code |= static_cast<uint32_t>(static_cast<uint8_t>(four_cc[i])) << (8 * i);
  append_u32(&header, code);
  append_u32(&header, bits);
  for (uint32_t mask : masks)
    append_u32(&header, mask);
  append_u32(&header, 0x1000);
  header.append(16, '\0');
  return header;
}

inline std::string dds_rgb_header(uint32_t width, uint32_t height, uint32_t bits,
                                  std::array<uint32_t, 4> masks) {
  return dds_header(width, height, 1, nullptr, bits, masks);
}
