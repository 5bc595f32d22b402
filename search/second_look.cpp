// The second look: one more search of many names at once, case folded, over the files the search passes over.
#include "search/second_look.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "search/file_content.h"
#include "search/tree_search.h"
#include "match/found_names.h"
#include "search/filter.h"

namespace {

// Files that hold no name as text, or that describe the textures themselves.
// Compiled level geometry (vertices, collision, AI nodes, occlusion) is most
// of a level's bytes and holds no names.
constexpr std::string_view kNoTextExtensions[] = {
    ".dds", ".tga", ".png", ".jpg", ".jpeg", ".bmp",           // images
    ".ogg", ".wav", ".mp3",                                    // sounds
    ".ogm", ".avi", ".bik", ".mp4",                            // videos
    ".zip", ".rar", ".7z",  ".db",  ".xdb",  ".gz",            // archives
    ".thm",                                                    // texture descriptions
    ".geom", ".cform", ".ai", ".hom", ".graph", ".som",        // compiled level geometry
};

std::string lower_ascii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

bool holds_no_text(std::string_view name) {
  std::string lower = lower_ascii(name);
  if (lower == "textures.ltx")
    return true;
  size_t dot = lower.rfind('.');
  if (dot == std::string::npos)
    return false;
  std::string_view extension = std::string_view(lower).substr(dot);
  return std::find(std::begin(kNoTextExtensions), std::end(kNoTextExtensions), extension) !=
         std::end(kNoTextExtensions);
}

bool is_word_byte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// A name as the folded content writes it: letters in lower case, a backslash
// for each separator.
std::string folded(std::string_view name) {
  std::string text = lower_ascii(name);
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// The forms searched for each name: folded, and, when it has several parts,
// folded with each backslash doubled. Names in order, so that the patterns'
// names ascend.
std::vector<MentionSearch::Pattern> patterns_of(const std::vector<std::string_view>& names) {
  std::vector<MentionSearch::Pattern> patterns;
  for (uint32_t name = 0; name < names.size(); ++name) {
    std::string single = folded(names[name]);
    patterns.push_back({single, name});
    if (single.find('\\') == std::string::npos)
      continue;
    std::string doubled;
    for (char c : single)
      doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
    patterns.push_back({doubled, name});
  }
  return patterns;
}

// The folded value of each byte: letters in lower case and "/" as "\"; a byte
// that no pattern holds and that cannot continue a name reads as a space,
// one of the matcher's terminators.
std::vector<unsigned char> fold_table(const std::vector<MentionSearch::Pattern>& patterns) {
  std::array<bool, 256> in_patterns{};
  for (const MentionSearch::Pattern& pattern : patterns)
    for (char c : pattern.text)
      in_patterns[static_cast<unsigned char>(c)] = true;
  std::vector<unsigned char> table(256);
  for (unsigned value = 0; value < 256; ++value) {
    auto c = static_cast<unsigned char>(value);
    if (c >= 'A' && c <= 'Z')
      c = static_cast<unsigned char>(c - 'A' + 'a');
    else if (c == '/')
      c = '\\';
    table[value] = is_word_byte(c) || in_patterns[c] ? c : ' ';
  }
  return table;
}

std::vector<std::string_view> texts_of(const std::vector<MentionSearch::Pattern>& patterns) {
  std::vector<std::string_view> texts;
  for (const MentionSearch::Pattern& pattern : patterns)
    texts.push_back(pattern.text);
  return texts;
}

MentionSeparator separator_of(Bytes written) {
  if (written.size() == 1)
    return written[0] == '\\' ? MentionSeparator::kBackslash : MentionSeparator::kSlash;
  return written[0] == '\\' && written[1] == '\\' ? MentionSeparator::kDoubleBackslash
                                                   : MentionSeparator::kMixed;
}

// A mention and its form travel through the file pool as one offset, the
// form in the top byte: no file comes near 2^56 bytes.
constexpr int kFormShift = 56;

uint64_t with_form(const Mention& mention) {
  return mention.offset |
         (static_cast<uint64_t>(mention.letter_case) << kFormShift) |
         (static_cast<uint64_t>(mention.separator) << (kFormShift + 4));
}

Mention without_form(uint32_t file, uint64_t packed) {
  return {file, packed & ((uint64_t{1} << kFormShift) - 1),
          static_cast<MentionCase>((packed >> kFormShift) & 0xF),
          static_cast<MentionSeparator>(packed >> (kFormShift + 4))};
}

}  // namespace

const char* case_word(MentionCase letter_case) {
  switch (letter_case) {
    case MentionCase::kSame: return "same";
    case MentionCase::kLower: return "lower";
    case MentionCase::kUpper: return "upper";
    case MentionCase::kMixed: break;
  }
  return "mixed";
}

const char* separator_word(MentionSeparator separator) {
  switch (separator) {
    case MentionSeparator::kNone: return "none";
    case MentionSeparator::kBackslash: return "backslash";
    case MentionSeparator::kDoubleBackslash: return "double_backslash";
    case MentionSeparator::kSlash: return "slash";
    case MentionSeparator::kMixed: break;
  }
  return "mixed";
}

Mention describe_mention(std::string_view name, Bytes found) {
  // The form searched tells one separator byte from two: the doubled form is longer.
  const size_t separator_bytes = found.size() > name.size() ? 2 : 1;
  Mention mention{0, 0, MentionCase::kSame, MentionSeparator::kNone};
  bool same = true, lower = true, upper = true;
  size_t at = 0;
  for (char name_char : name) {
    if (name_char == '\\') {
      MentionSeparator separator = separator_of(found.subspan(at, separator_bytes));
      if (mention.separator == MentionSeparator::kNone)
        mention.separator = separator;
      else if (mention.separator != separator)
        mention.separator = MentionSeparator::kMixed;
      at += separator_bytes;
      continue;
    }
    unsigned char c = found[at++];
    same = same && c == static_cast<unsigned char>(name_char);
    lower = lower && !(c >= 'A' && c <= 'Z');
    upper = upper && !(c >= 'a' && c <= 'z');
  }
  mention.letter_case = same    ? MentionCase::kSame
                        : lower ? MentionCase::kLower
                        : upper ? MentionCase::kUpper
                                : MentionCase::kMixed;
  return mention;
}

EntryAction second_look_action(const DirEntry& entry) {
  EntryAction search_action = is_searchable(entry);
  if (entry.is_directory)
    return search_action;
  if (search_action == EntryAction::kRead || holds_no_text(entry.name))
    return EntryAction::kSkip;
  return EntryAction::kRead;
}

MentionSearch::MentionSearch(const std::vector<std::string_view>& names)
    : names_(names),
      patterns_(patterns_of(names)),
      fold_(fold_table(patterns_)),
      search_(texts_of(patterns_)) {}

std::vector<std::pair<uint32_t, Mention>> MentionSearch::find_all(Bytes content) const {
  // Kept per thread from file to file. The space after the content lets a
  // mention end where the file ends.
  thread_local std::vector<unsigned char> copy;
  thread_local FoundNames found;
  copy.resize(content.size() + 1);
  unsigned char* out = copy.data();
  const unsigned char* fold = fold_.data();
  for (unsigned char c : content)
    *out++ = fold[c];
  *out = ' ';
  search_.find_all(Bytes(copy.data(), copy.size()), &found);

  std::vector<std::pair<uint32_t, Mention>> mentions;
  for (uint32_t pattern : found.names()) {
    uint32_t name = patterns_[pattern].name;
    uint64_t offset = *found.offset(pattern);
    if (!mentions.empty() && mentions.back().first == name) {
      if (mentions.back().second.offset < offset)
        continue;
      mentions.pop_back();
    }
    Mention mention =
        describe_mention(names_[name], content.subspan(offset, patterns_[pattern].text.size()));
    mention.offset = offset;
    mentions.emplace_back(name, mention);
  }
  return mentions;
}

Mentions find_mentions(const std::string& game_root, const std::vector<std::string_view>& names,
                       const std::vector<uint32_t>& looked_for, const GamePaths& paths) {
  Mentions mentions;
  mentions.hits.resize(names.size());
  if (looked_for.empty())
    return mentions;
  std::vector<std::string_view> looked_for_names;
  for (uint32_t name : looked_for)
    looked_for_names.push_back(names[name]);
  const MentionSearch search(looked_for_names);
  const ContentSearch search_content = [&search, &looked_for_names](const FileContent& content,
                                                                   FoundNames* found) {
    found->reset(looked_for_names.size());
    for (const auto& [name, mention] : search.find_all(content.bytes()))
      found->record(name, with_form(mention));
  };
  const ResultSink sink = [&](const FileResult& result) {
    if (!result.searched || result.found.names().empty())
      return;
    auto file = static_cast<uint32_t>(mentions.paths.size());
    mentions.paths.emplace_back(paths.native_from_game_root(result.open_path));
    for (uint32_t name : result.found.names())
      mentions.hits[looked_for[name]].push_back(without_form(file, *result.found.offset(name)));
  };
  search_tree_in_order(game_root, second_look_action, search_threads(), search_content, sink,
                       SinkOutput::kSilent);
  return mentions;
}
