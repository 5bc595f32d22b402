// Appending the pieces of generated files to a byte string.
#include "bench/bytes.h"

#include <algorithm>

#include "bench/random.h"

namespace {

// Appends `count` bytes, eight of them little-endian from each word that
// `make_word` returns.
template <typename MakeWord>
void append_words(std::string* out, size_t count, MakeWord make_word) {
  size_t start = out->size();
  out->resize(start + count);
  char* bytes = out->data() + start;
  for (size_t i = 0; i < count; i += 8) {
    uint64_t word = make_word();
    size_t n = std::min<size_t>(8, count - i);
    for (size_t k = 0; k < n; ++k)
      bytes[i + k] = static_cast<char>((word >> (8 * k)) & 0xFF);
  }
}

// A float's bits from 32 random bits: the exponent is drawn from 118..131.
uint64_t float_bits(uint64_t bits) {
  uint64_t sign = bits & 0x80000000u;
  uint64_t exponent = 118 + ((((bits >> 23) & 0xFF) * 14) >> 8);
  return sign | (exponent << 23) | (bits & 0x7FFFFF);
}

}  // namespace

void append_u32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

void append_chunk(std::string* out, uint32_t id, size_t size) {
  append_u32(out, id);
  append_u32(out, static_cast<uint32_t>(size));
}

void append_cstring(std::string* out, std::string_view text) {
  out->append(text);
  out->push_back('\0');
}

void append_floats(std::string* out, size_t count, Random& random) {
  append_words(out, count, [&random] {
    uint64_t bits = random.next();
    return float_bits(bits & 0xFFFFFFFF) | (float_bits(bits >> 32) << 32);
  });
}

void append_indices(std::string* out, size_t count, uint32_t limit, Random& random) {
  append_words(out, count, [&random, limit] {
    uint64_t bits = random.next();
    uint64_t word = 0;
    for (int shift = 0; shift < 64; shift += 16)
      word |= ((((bits >> shift) & 0xFFFF) * limit) >> 16) << shift;
    return word;
  });
}

void append_noise(std::string* out, size_t count, Random& random) {
  append_words(out, count, [&random] { return random.next(); });
}

void append_mixed(std::string* out, size_t count, Random& random) {
  size_t end = out->size() + count;
  while (out->size() < end) {
    size_t block = std::min(end - out->size(), random.between(1024, 16384));
    size_t kind = random.below(20);
    if (kind < 10)
      append_floats(out, block, random);
    else if (kind < 15)
      append_indices(out, block, static_cast<uint32_t>(random.between(256, 65535)), random);
    else if (kind < 18)
      append_noise(out, block, random);
    else
      append_words(out, block, [&random] { return random.next() & 0x000000FF000000FFu; });
  }
}

void append_number(std::string* out, uint64_t value) {
  out->append(std::to_string(value));
}

void append_decimal(std::string* out, int64_t thousandths) {
  if (thousandths < 0)
    out->push_back('-');
  uint64_t magnitude = static_cast<uint64_t>(thousandths < 0 ? -thousandths : thousandths);
  append_number(out, magnitude / 1000);
  std::string fraction = std::to_string(magnitude % 1000);
  out->push_back('.');
  out->append(3 - fraction.size(), '0');
  out->append(fraction);
}
