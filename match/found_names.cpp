// Searching a content in windows, for the rules that can: the loop that reads the pieces and keeps what the rule looks at again.
#include "match/found_names.h"

#include <cstring>

uint64_t NameRule::find_in_window(Bytes window, uint64_t window_start, uint64_t, bool,
                                  FoundNames* found) const {
  find_all(window, found);
  return window_start + window.size();
}

size_t fill_piece(const PieceReader& read, unsigned char* into, size_t count) {
  size_t got = 0;
  for (size_t more; got < count && (more = read(into + got, count - got)) > 0;)
    got += more;
  return got;
}

uint64_t find_in_pieces(const NameRule& rule, const PieceReader& read, size_t piece,
                        std::vector<unsigned char>* buffer, FoundNames* found) {
  const size_t overlap = rule.window_overlap().value_or(0);
  if (buffer->size() < overlap + piece)
    buffer->resize(overlap + piece);
  uint64_t window_start = 0;
  uint64_t from = 0;
  size_t kept = 0;  // bytes at the buffer's start that the last window left undecided
  for (;;) {
    // A piece is filled unless the content ends: a short one is the last.
    const size_t got = fill_piece(read, buffer->data() + kept, piece);
    const bool last = got < piece;
    const Bytes window(buffer->data(), kept + got);
    const uint64_t decided = rule.find_in_window(window, window_start, from, last, found);
    if (last)
      return window_start + window.size();
    kept = static_cast<size_t>(window_start + window.size() - decided);
    memmove(buffer->data(), buffer->data() + (decided - window_start), kept);
    window_start = decided;
    from = decided;
  }
}
