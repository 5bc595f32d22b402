// The mention rule: many names at once, case folded, with any separator, as words.
#include "match/mention_search.h"

#include <algorithm>
#include <array>

#include "text/ascii.h"

namespace {

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
    auto c = static_cast<unsigned char>(lower_ascii(static_cast<char>(value)));
    if (c == '/')
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

}  // namespace

NameForm describe_mention(std::string_view name, Bytes found) {
  // The form searched tells one separator byte from two: the doubled form is longer.
  const size_t separator_bytes = found.size() > name.size() ? 2 : 1;
  NameForm mention;
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

MentionSearch::MentionSearch(const std::vector<std::string_view>& names)
    : names_(names),
      patterns_(patterns_of(names)),
      fold_(fold_table(patterns_)),
      search_(texts_of(patterns_)) {}

void MentionSearch::find_all(Bytes content, FoundNames* mentions) const {
  find_in_window(content, 0, 0, true, mentions);
}

uint64_t MentionSearch::find_in_window(Bytes window, uint64_t window_start, uint64_t from,
                                       bool last, FoundNames* mentions) const {
  // Kept per thread from file to file: the folded window, the patterns found
  // so far in this content, and the form of each where it was found.
  thread_local std::vector<unsigned char> copy;
  thread_local FoundNames found;
  thread_local std::vector<NameForm> forms;
  thread_local std::vector<uint64_t> formed_in;  // per pattern: the content its form is of
  thread_local uint64_t content_number = 0;
  if (window_start == 0 && from == 0)
    ++content_number;
  forms.resize(patterns_.size());
  formed_in.resize(patterns_.size());
  // The space after the content lets a mention end where the file ends.
  copy.resize(window.size() + (last ? 1 : 0));
  unsigned char* out = copy.data();
  const unsigned char* fold = fold_.data();
  for (unsigned char c : window)
    *out++ = fold[c];
  if (last)
    *out = ' ';
  const uint64_t decided =
      search_.find_in_window(Bytes(copy.data(), copy.size()), window_start, from, last, &found);
  // A pattern found in this window lies in it whole.
  for (uint32_t pattern : found.names()) {
    if (formed_in[pattern] == content_number)
      continue;
    uint64_t offset = *found.offset(pattern) - window_start;
    forms[pattern] = describe_mention(names_[patterns_[pattern].name],
                                      window.subspan(offset, patterns_[pattern].text.size()));
    formed_in[pattern] = content_number;
  }
  if (!last)
    return decided;

  mentions->reset(names_.size());
  const std::vector<uint32_t>& hits = found.names();
  for (size_t i = 0; i < hits.size(); ++i) {
    uint32_t pattern = hits[i];
    uint32_t name = patterns_[pattern].name;
    uint64_t offset = *found.offset(pattern);
    // A name's doubled form follows its single one: the first by offset
    // counts, the doubled one on a tie.
    bool next_is_earlier = i + 1 < hits.size() && patterns_[hits[i + 1]].name == name &&
                           *found.offset(hits[i + 1]) <= offset;
    if (!next_is_earlier)
      mentions->record(name, offset, forms[pattern]);
  }
  return decided;
}
