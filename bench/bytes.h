// Appending the pieces of generated files to a byte string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class Random;

// Appends `value` as four little-endian bytes.
void append_u32(std::string* out, uint32_t value);

// Appends a chunk header: its id and its size, both little-endian 32-bit.
void append_chunk(std::string* out, uint32_t id, size_t size);

// Appends `text` and a zero byte after it.
void append_cstring(std::string* out, std::string_view text);

// Appends `count` bytes of single-precision floats of magnitudes between
// 2^-9 and 2^5, both signs, as vertex positions, normals and UVs look.
void append_floats(std::string* out, size_t count, Random& random);

// Appends `count` bytes of 16-bit little-endian vertex indices below `limit`.
void append_indices(std::string* out, size_t count, uint32_t limit, Random& random);

// Appends `count` uniformly random bytes.
void append_noise(std::string* out, size_t count, Random& random);

// Appends `count` bytes of typical binary game data: stretches of floats,
// indices, random bytes and small counts padded with zeros.
void append_mixed(std::string* out, size_t count, Random& random);

// Appends `value` in decimal.
void append_number(std::string* out, uint64_t value);

// Appends `thousandths` / 1000 with three decimals, as in "-12.345".
void append_decimal(std::string* out, int64_t thousandths);
