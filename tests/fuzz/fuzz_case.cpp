// Decoding of fuzz inputs and the report of a wrong answer.
#include "fuzz/fuzz_case.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The name a derivation byte `b` (top bit set) makes from `previous`.
std::string derived_name(const std::string& previous, uint8_t b) {
  size_t length = std::min<size_t>(previous.size(), 1 + (b & 0x1fu));
  return (b & 0x40u) ? previous.substr(previous.size() - length)
                     : previous.substr(0, length);
}

// `text` with bytes outside 0x20..0x7E written as \xNN.
std::string shown(std::string_view text) {
  std::string out;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7f && byte != '\\') {
      out += c;
      continue;
    }
    char hex[8];
    snprintf(hex, sizeof hex, "\\x%02x", byte);
    out += hex;
  }
  return out;
}

std::string shown(std::optional<uint64_t> offset) {
  return offset ? std::to_string(*offset) : "none";
}

}  // namespace

std::vector<std::string_view> FuzzCase::name_views() const {
  return std::vector<std::string_view>(names.begin(), names.end());
}

FuzzCase read_fuzz_case(const uint8_t* data, size_t size) {
  FuzzCase fuzz_case;
  size_t at = 0;
  size_t count = size > 0 ? 1 + data[at++] % 8u : 0;
  while (fuzz_case.names.size() < count && at < size) {
    uint8_t b = data[at++];
    if ((b & 0x80u) && !fuzz_case.names.empty()) {
      fuzz_case.names.push_back(derived_name(fuzz_case.names.back(), b));
      continue;
    }
    size_t length = std::min<size_t>(1 + (b & 0x7fu) % 16u, size - at);
    if (length == 0)
      break;
    fuzz_case.names.emplace_back(reinterpret_cast<const char*>(data + at), length);
    at += length;
  }
  fuzz_case.content = data + at;
  fuzz_case.content_size = size - at;
  return fuzz_case;
}

void expect_same(const char* what, const FuzzCase& fuzz_case, std::string_view name,
                 std::optional<uint64_t> expected, std::optional<uint64_t> actual) {
  if (expected == actual)
    return;
  std::string message = std::string(what) + ": expected " + shown(expected) + ", got " +
                        shown(actual);
  fail_case(message.c_str(), fuzz_case, name);
}

void fail_case(const char* message, const FuzzCase& fuzz_case, std::string_view name) {
  fprintf(stderr, "MISMATCH %s\nname: '%s'\n", message, shown(name).c_str());
  for (const std::string& each : fuzz_case.names)
    fprintf(stderr, "catalogue name: '%s'\n", shown(each).c_str());
  std::string_view content(reinterpret_cast<const char*>(fuzz_case.content),
                           fuzz_case.content_size);
  fprintf(stderr, "content (%zu bytes): '%s'\n", content.size(), shown(content).c_str());
  abort();
}
