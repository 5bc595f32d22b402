// The names found in one file's content, kept so that starting afresh costs what was found, not what was sought.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

// For each name sought (numbered from 0), the offset of its first occurrence
// in one content, if it was found. Reused from content to content: reset()
// forgets only the names found, so a file costs time in proportion to its
// bytes and its hits, not to the number of names.
class FoundNames {
 public:
  // Forgets every name found and makes room for `name_count` names.
  void reset(size_t name_count) {
    if (offsets_.size() != name_count) {
      offsets_.assign(name_count, std::nullopt);
    } else {
      for (uint32_t name : found_)
        offsets_[name].reset();
    }
    found_.clear();
  }

  // Records `offset` for `name` unless it has one already; true when recorded.
  bool record(uint32_t name, uint64_t offset) {
    if (offsets_[name])
      return false;
    offsets_[name] = offset;
    found_.push_back(name);
    return true;
  }

  // The offset recorded for `name`, if any.
  const std::optional<uint64_t>& offset(uint32_t name) const { return offsets_[name]; }

  // Puts the names found in ascending order, as names() gives them after.
  void sort() { std::sort(found_.begin(), found_.end()); }

  // The names found: in the order recorded, ascending after sort().
  const std::vector<uint32_t>& names() const { return found_; }

  size_t name_count() const { return offsets_.size(); }

 private:
  std::vector<std::optional<uint64_t>> offsets_;  // per name
  std::vector<uint32_t> found_;                   // the names with an offset
};
