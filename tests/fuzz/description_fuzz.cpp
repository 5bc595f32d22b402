// Fuzz target: the reading of texture descriptions (.thm files and textures.ltx) against what each use must be.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "match/description_uses.h"

namespace {

// A name as a mention of it is compared: letters in lower case, "/" as "\".
std::string folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
    else if (c == '/')
      c = '\\';
  }
  return out;
}

bool is_word_byte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

[[noreturn]] void fail(const char* what, std::string_view file, std::string_view name,
                       uint64_t offset) {
  fprintf(stderr, "description_fuzz: %s: file '%.*s', name '%.*s', offset %llu\n", what,
          static_cast<int>(file.size()), file.data(), static_cast<int>(name.size()), name.data(),
          static_cast<unsigned long long>(offset));
  abort();
}

// The length of the mention of `name` at `at` in `content`: the name's
// bytes, each backslash written as one byte or as two, each "\" or "/",
// letters in any case; 0 when none stands there.
size_t mention_length(std::string_view content, size_t at, std::string_view name) {
  for (size_t separator_bytes : {1u, 2u}) {
    size_t i = at;
    bool same = true;
    for (char c : name) {
      if (c == '\\') {
        std::string_view written = content.substr(std::min(i, content.size()), separator_bytes);
        same = written.size() == separator_bytes &&
               written.find_first_not_of("\\/") == std::string_view::npos;
        i += separator_bytes;
      } else {
        same = i < content.size() && folded(content.substr(i, 1)) == folded(std::string(1, c));
        ++i;
      }
      if (!same)
        break;
    }
    if (same)
      return i - at;
  }
  return 0;
}

}  // namespace

// The input: a selector byte (bit 0: textures.ltx or a .thm; bit 1: the .thm
// is the first name's own), then names separated by "\n" up to a zero byte,
// then the description's content.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2)
    return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t end_of_names = input.find('\0', 1);
  if (end_of_names == std::string_view::npos)
    return 0;
  std::vector<std::string> names;
  for (size_t at = 1; at < end_of_names && names.size() < 8;) {
    size_t next = std::min(input.find('\n', at), end_of_names);
    std::string_view name = input.substr(at, next - at);
    // Names of letters, digits, "_" and "\", as texture names are: the mention
    // rule reads every other byte that no name holds as a space.
    if (!name.empty() && name.size() <= 64 &&
        name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_\\") ==
            std::string_view::npos)
      names.emplace_back(name);
    at = next + 1;
  }
  if (names.empty())
    return 0;
  const bool ltx = data[0] & 1;
  const std::string file = ltx ? "textures.ltx" : ((data[0] & 2) ? names[0] : "x\\y") + ".thm";
  const std::string_view content = input.substr(end_of_names + 1);
  const std::vector<std::string_view> views(names.begin(), names.end());
  const MentionSearch search(views);
  const Bytes bytes(reinterpret_cast<const unsigned char*>(content.data()), content.size());
  for (const DescriptionUse& use : description_uses(file, bytes, search)) {
    if (use.name >= names.size())
      fail("a use of a name not given", file, "", use.offset);
    const std::string& name = names[use.name];
    if (use.offset >= content.size())
      fail("a use past the content", file, name, use.offset);
    size_t length = mention_length(content, use.offset, name);
    if (length == 0)
      fail("a use that is not the name's bytes", file, name, use.offset);
    if (use.offset + length < content.size() &&
        is_word_byte(static_cast<unsigned char>(content[use.offset + length])))
      fail("a use followed by a word byte", file, name, use.offset);
    if (folded(name) == folded(use.describes))
      fail("a use of the texture described itself", file, name, use.offset);
    if (!ltx && folded(use.describes) != folded(file.substr(0, file.size() - 4)))
      fail("a .thm use that describes another texture", file, name, use.offset);
    if (ltx) {
      size_t line = content.rfind('\n', use.offset);
      line = line == std::string_view::npos ? 0 : line + 1;
      size_t equals = content.find('=', line);
      if (equals == std::string_view::npos || equals >= use.offset)
        fail("a textures.ltx use on the key side", file, name, use.offset);
    }
  }
  return 0;
}
