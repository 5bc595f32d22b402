// What the three name rules share: the bytes they search, and the names they find there, kept so that starting afresh costs what was found, not what was sought.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// Bytes of a file's content, or the part of it from some offset to its end.
using Bytes = std::span<const unsigned char>;

// How the letters of a mention compare with the name's.
enum class MentionCase {
  kSame,   // as in the name
  kLower,  // otherwise, every letter in lower case
  kUpper,  // otherwise, every letter in upper case
  kMixed,  // anything else
};

// What stands between the parts of a mention where the name holds a backslash.
enum class MentionSeparator {
  kNone,             // the name has one part
  kBackslash,        // one backslash each time, as in the name
  kDoubleBackslash,  // two backslashes each time, as a script string writes one
  kSlash,            // one slash each time
  kMixed,            // anything else: some of each, or two slashes
};

// The words the reports give a mention's form by: "same", "lower", "upper",
// "mixed"; "none", "backslash", "double_backslash", "slash", "mixed".
constexpr const char* case_word(MentionCase letter_case) {
  constexpr const char* kWords[] = {"same", "lower", "upper", "mixed"};
  return kWords[static_cast<int>(letter_case)];
}
constexpr const char* separator_word(MentionSeparator separator) {
  constexpr const char* kWords[] = {"none", "backslash", "double_backslash", "slash", "mixed"};
  return kWords[static_cast<int>(separator)];
}

// How a name is written where it was found: as it is, for the rules that
// find only the name's own bytes.
struct NameForm {
  MentionCase letter_case = MentionCase::kSame;
  MentionSeparator separator = MentionSeparator::kNone;
};

// For each name sought (numbered from 0), the offset of its first occurrence
// in one content and its form there, if it was found. Reused from content to content: reset()
// forgets only the names found, so a file costs time in proportion to its
// bytes and its hits, not to the number of names.
class FoundNames {
 public:
  // Forgets every name found and makes room for `name_count` names.
  void reset(size_t name_count) {
    if (offsets_.size() != name_count) {
      offsets_.assign(name_count, std::nullopt);
      forms_.assign(name_count, NameForm{});
    } else {
      for (uint32_t name : found_)
        offsets_[name].reset();
    }
    found_.clear();
  }

  // Records `offset` and `form` for `name` unless it has an offset already;
  // true when recorded.
  bool record(uint32_t name, uint64_t offset, NameForm form = {}) {
    if (offsets_[name])
      return false;
    offsets_[name] = offset;
    forms_[name] = form;
    found_.push_back(name);
    return true;
  }

  // The offset recorded for `name`, if any.
  const std::optional<uint64_t>& offset(uint32_t name) const { return offsets_[name]; }

  // The form recorded for `name`, which must have an offset.
  NameForm form(uint32_t name) const { return forms_[name]; }

  // Puts the names found in ascending order, as names() gives them after.
  void sort() { std::sort(found_.begin(), found_.end()); }

  // The names found: in the order recorded, ascending after sort().
  const std::vector<uint32_t>& names() const { return found_; }

  size_t name_count() const { return offsets_.size(); }

 private:
  std::vector<std::optional<uint64_t>> offsets_;  // per name
  std::vector<NameForm> forms_;                   // per name, set with its offset
  std::vector<uint32_t> found_;                   // the names with an offset
};

// A rule for where names occur in a content: Texsift's whole-name rule,
// Texsift-compact's window rule, or the second look's mention rule.
class NameRule {
 public:
  virtual ~NameRule() = default;
  // Records in `found` (reset first, names numbered as the rule was given
  // them, ascending at the end) the first occurrence of each name in
  // `content` by the rule. Several threads may call it at once.
  virtual void find_all(Bytes content, FoundNames* found) const = 0;

  // For a rule that can take a content in windows, in order: the most bytes
  // of one window that find_in_window may ask to see again at the start of
  // the next. None for a rule that needs the whole content at once.
  virtual std::optional<size_t> window_overlap() const { return std::nullopt; }

  // For a rule with a window_overlap(): takes `window`, the content's bytes
  // from offset `window_start`, and records in `found` the first occurrence
  // of each name not recorded yet among those that begin at or after `from`
  // and that the window decides. `last` when the window ends the content.
  // The first window has `window_start` and `from` 0 and resets `found`;
  // after the last, `found` is what find_all leaves. Returns the offset
  // before which every occurrence is decided: the next window starts there
  // (it holds the bytes from there on, at most window_overlap() of them from
  // this window) and takes it as its `from`.
  virtual uint64_t find_in_window(Bytes window, uint64_t window_start, uint64_t from, bool last,
                                  FoundNames* found) const;
};

// Gives up to `count` bytes of a content, the next ones, at `into`; how many
// it gave, 0 at the end.
using PieceReader = std::function<size_t(unsigned char* into, size_t count)>;

// Fills `count` bytes at `into` from `read`, fewer only where the content
// ends; returns how many.
size_t fill_piece(const PieceReader& read, unsigned char* into, size_t count);

// Runs `rule` (one with a window_overlap()) over the content that `read`
// gives in pieces of `piece` bytes, each window kept in `buffer`, which
// grows to window_overlap() plus `piece` bytes and is reused. Leaves in
// `found` what find_all would over the whole content; returns the content's
// size.
uint64_t find_in_pieces(const NameRule& rule, const PieceReader& read, size_t piece,
                        std::vector<unsigned char>* buffer, FoundNames* found);
