// Reading the texture descriptions: a .thm's names but its own texture's, the value side of each textures.ltx line.
#include "match/description_uses.h"

#include <algorithm>

#include "text/ascii.h"

namespace {

// `a` and `b` name the same texture: equal once letters are small and "/" is "\".
bool same_texture(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] == '/' ? '\\' : lower_ascii(a[i]);
    char y = b[i] == '/' ? '\\' : lower_ascii(b[i]);
    if (x != y)
      return false;
  }
  return true;
}

bool ends_with_lower(std::string_view name, std::string_view end) {
  return name.size() >= end.size() && lower_ascii(name.substr(name.size() - end.size())) == end;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && (is_blank(text.back()) || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

// Adds the first mention of each name in `part`, which starts at `start` in
// the content, but the texture `describes` itself.
void add_uses(Bytes part, uint64_t start, std::string_view describes,
              const MentionSearch& search, FoundNames* found, std::vector<DescriptionUse>* uses) {
  search.find_all(part, found);
  for (uint32_t name : found->names()) {
    if (same_texture(search.name(name), describes))
      continue;
    uses->push_back({name, start + *found->offset(name), found->form(name), std::string(describes)});
  }
}

}  // namespace

bool is_description_name(std::string_view name) {
  size_t cut = name.find_last_of("\\/");
  std::string_view bare = cut == std::string_view::npos ? name : name.substr(cut + 1);
  return ends_with_lower(name, ".thm") || lower_ascii(bare) == "textures.ltx";
}

std::vector<DescriptionUse> description_uses(std::string_view name, Bytes content,
                                             const MentionSearch& search) {
  std::vector<DescriptionUse> uses;
  thread_local FoundNames found;  // kept from file to file: reset costs what was found
  if (ends_with_lower(name, ".thm")) {
    add_uses(content, 0, name.substr(0, name.size() - 4), search, &found, &uses);
  } else if (lower_ascii(name) == "textures.ltx") {
    const std::string_view text(reinterpret_cast<const char*>(content.data()), content.size());
    for (size_t line = 0; line < text.size();) {
      size_t end = text.find('\n', line);
      end = end == std::string_view::npos ? text.size() : end;
      size_t equals = text.find('=', line);
      if (equals < end)
        add_uses(content.subspan(equals + 1, end - equals - 1), equals + 1,
                 trimmed(text.substr(line, equals - line)), search, &found, &uses);
      line = end + 1;
    }
  }
  std::stable_sort(uses.begin(), uses.end(), [](const DescriptionUse& a, const DescriptionUse& b) {
    return a.offset < b.offset;
  });
  return uses;
}
