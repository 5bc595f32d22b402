// base64, JSON strings, CSV fields and SHA-256, each written once for the reports and the page.
#include "text/encode.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/utf8.h"

std::string base64(std::string_view bytes) {
  static const char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t at = 0; at < bytes.size(); at += 3) {
    size_t count = bytes.size() - at < 3 ? bytes.size() - at : 3;
    uint32_t group = 0;
    for (size_t i = 0; i < 3; ++i)
      group = group << 8 | (i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u);
    for (size_t i = 0; i < 4; ++i)
      text += i <= count ? kDigits[(group >> (18 - 6 * i)) & 0x3F] : '=';
  }
  return text;
}

std::string json_string(std::string_view text, JsonUse use) {
  static const char kHex[] = "0123456789abcdef";
  const bool script = use == JsonUse::kScript;
  std::string out = "\"";
  auto escape = [&](char32_t code) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
      out += kHex[(code >> shift) & 15];
  };
  for (size_t at = 0, length = 1; at < text.size(); at += length ? length : 1) {
    auto byte = static_cast<unsigned char>(text[at]);
    char32_t code = byte;
    length = script ? decode_utf8(text, at, &code) : 1;
    if (length == 0) {
      escape(0xdc00u + byte);
    } else if (byte == '"' || byte == '\\') {
      out += '\\';
      out += text[at];
    } else if (byte < 0x20 ||
               (script && (byte == '<' || byte == '>' || byte == '&' || byte == 0x7f))) {
      escape(byte);
    } else if (script && (code == 0x2028 || code == 0x2029)) {
      escape(code);
    } else {
      out.append(text.data() + at, length);
    }
  }
  return out + "\"";
}

std::string json_text(std::string_view bytes) {
  if (is_utf8(bytes))
    return "{\"text\":" + json_string(bytes) + "}";
  return "{\"bytes\":\"" + base64(bytes) + "\"}";
}

std::string csv_field(std::string_view bytes) {
  if (bytes.find_first_of(",\"\r\n") == std::string_view::npos)
    return std::string(bytes);
  std::string field = "\"";
  for (char c : bytes) {
    if (c == '"')
      field += '"';
    field += c;
  }
  return field + "\"";
}

std::string csv_row(std::initializer_list<std::string> fields) {
  std::string row;
  const char* separator = "";
  for (const std::string& field : fields) {
    row += separator;
    row += field;
    separator = ",";
  }
  return row + "\n";
}

// SHA-256 (FIPS 180-4).
namespace {

constexpr std::array<uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

uint32_t rotate(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

void compress(std::array<uint32_t, 8>* state, const uint8_t* block) {
  std::array<uint32_t, 64> w{};
  for (size_t i = 0; i < 16; ++i)
    w[i] = (static_cast<uint32_t>(block[4 * i]) << 24) | (static_cast<uint32_t>(block[4 * i + 1]) << 16) |
           (static_cast<uint32_t>(block[4 * i + 2]) << 8) | block[4 * i + 3];
  for (size_t i = 16; i < 64; ++i) {
    uint32_t s0 = rotate(w[i - 15], 7) ^ rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
    uint32_t s1 = rotate(w[i - 2], 17) ^ rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  std::array<uint32_t, 8> v = *state;
  for (size_t i = 0; i < 64; ++i) {
    uint32_t s1 = rotate(v[4], 6) ^ rotate(v[4], 11) ^ rotate(v[4], 25);
    uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
    uint32_t t1 = v[7] + s1 + choice + kRound[i] + w[i];
    uint32_t s0 = rotate(v[0], 2) ^ rotate(v[0], 13) ^ rotate(v[0], 22);
    uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
    uint32_t t2 = s0 + majority;
    v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
  }
  for (size_t i = 0; i < 8; ++i)
    (*state)[i] += v[i];
}

}  // namespace

namespace {

constexpr uint64_t kPrime1 = 0x9e3779b185ebca87ULL;
constexpr uint64_t kPrime2 = 0xc2b2ae3d27d4eb4fULL;

uint64_t rotate_left(uint64_t value, int bits) { return (value << bits) | (value >> (64 - bits)); }

// The little-endian word of the 8 bytes at `at`, on any processor.
uint64_t word_at(const char* at) {
  uint64_t word = 0;
  if constexpr (std::endian::native == std::endian::little) {
    memcpy(&word, at, 8);
    return word;
  }
  for (int i = 7; i >= 0; --i)
    word = (word << 8) | static_cast<unsigned char>(at[i]);
  return word;
}

uint64_t round_of(uint64_t lane, uint64_t word) {
  return rotate_left(lane + word * kPrime2, 31) * kPrime1;
}

}  // namespace

void ContentHash::add(std::string_view bytes) {
  const char* at = bytes.data();
  size_t left = bytes.size();
  for (; left >= 32; left -= 32, at += 32)
    for (int lane = 0; lane < 4; ++lane)
      lanes_[lane] = round_of(lanes_[lane], word_at(at + 8 * lane));
  size_ += bytes.size();
  tail_.assign(at, left);
}

uint64_t ContentHash::value() const {
  uint64_t hash = rotate_left(lanes_[0], 1) + rotate_left(lanes_[1], 7) +
                  rotate_left(lanes_[2], 12) + rotate_left(lanes_[3], 18) + size_;
  for (char c : tail_)
    hash = rotate_left(hash ^ (static_cast<unsigned char>(c) * kPrime1), 11) * kPrime2;
  hash ^= hash >> 33;
  hash *= kPrime2;
  return hash ^ (hash >> 29);
}

uint64_t content_hash(std::string_view bytes) {
  ContentHash hash;
  hash.add(bytes);
  return hash.value();
}

std::string sha256_base64(std::string_view text) {
  std::array<uint32_t, 8> state = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                   0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::string padded(text);
  uint64_t bits = static_cast<uint64_t>(text.size()) * 8;
  padded += static_cast<char>(0x80);
  while (padded.size() % 64 != 56)
    padded += '\0';
  for (int i = 7; i >= 0; --i)
    padded += static_cast<char>((bits >> (8 * i)) & 0xff);
  const auto* data = reinterpret_cast<const uint8_t*>(padded.data());
  for (size_t i = 0; i < padded.size(); i += 64)
    compress(&state, data + i);
  std::array<uint8_t, 32> digest{};
  for (size_t i = 0; i < 32; ++i)
    digest[i] = static_cast<uint8_t>(state[i / 4] >> (24 - 8 * (i % 4)));
  return base64(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}
