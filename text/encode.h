// The strings of the reports and the page: base64, JSON strings and objects, CSV fields and rows, SHA-256 digests.
#pragma once

#include <initializer_list>
#include <cstdint>
#include <string>
#include <string_view>

// `bytes` in standard base64 (RFC 4648, "+/" and "=" padding).
std::string base64(std::string_view bytes);

// Where a JSON string goes, which decides what json_string escapes.
enum class JsonUse {
  kRecord,  // a record: UTF-8 given, only what JSON requires escaped
  kScript,  // inline in an HTML <script> element: any bytes given
};

// `text` as a JSON string: in double quotes, with the quote and the backslash
// escaped by a backslash and each control character (below 0x20) written
// \u00XX; every other byte as it is. For kScript also '<', '>', '&', DEL,
// U+2028 and U+2029 are written \uXXXX, and a byte that is not part of
// well-formed UTF-8 is carried as U+DC80 + (byte - 0x80).
std::string json_string(std::string_view text, JsonUse use = JsonUse::kRecord);

// `bytes` as a JSON object that carries them exactly: {"text":"..."} when
// they are UTF-8, otherwise {"bytes":"<base64>"}.
std::string json_text(std::string_view bytes);

// `bytes` as a CSV field (RFC 4180): as they are, or in double quotes with
// each quote doubled when they hold a comma, a double quote, a CR or an LF.
std::string csv_field(std::string_view bytes);

// One CSV row: `fields` (already CSV fields) joined by commas, ending in LF.
std::string csv_row(std::initializer_list<std::string> fields);

// A 64-bit hash of `bytes` that tells files apart fast (several gigabytes a
// second): four lanes of multiply-and-rotate rounds over 8-byte words, folded
// with the length and the last bytes. Not a cryptographic hash; two contents
// of the same size share one by chance about once in 2^64.
uint64_t content_hash(std::string_view bytes);

// content_hash of bytes given in pieces, so that no file need be held whole:
// every piece but the last must be a multiple of 32 bytes long.
class ContentHash {
 public:
  // Adds the next `bytes` of the content.
  void add(std::string_view bytes);
  // content_hash of the bytes added so far.
  uint64_t value() const;

 private:
  uint64_t lanes_[4] = {0x9e3779b185ebca87ULL + 0xc2b2ae3d27d4eb4fULL, 0xc2b2ae3d27d4eb4fULL, 0,
                        0 - 0x9e3779b185ebca87ULL};
  uint64_t size_ = 0;
  std::string tail_;  // the last piece's bytes after its last whole 32
};

// The SHA-256 digest of `text`, base64-encoded as a Content-Security-Policy
// source takes it.
std::string sha256_base64(std::string_view text);
