// The name matcher: where a texture name first occurs as a whole name in a file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "match/found_names.h"


// True for the nine bytes that may follow a name for it to count as a whole
// name: zero, tab, line feed, carriage return, space, comma, full stop,
// backslash and right square bracket.
bool is_name_terminator(unsigned char byte);

// Looks for `ch` among the first `count` bytes of `data` (count <= data.size()),
// after a leading skip: while the four-byte window at the current byte holds
// a byte of 0x80 or more, or only bytes below 0x20, the byte is passed over.
// Window bytes past the end of `data` count as 0x00 and are never read.
// Returns the 1-based position of the first `ch` found after the skip, or 0
// when there is none.
uint64_t scan_for_byte(Bytes data, unsigned char ch, uint64_t count);

// True when `data` (from a candidate to the end of the content, at least as
// long as `name`) begins with `name` and the byte after it is a name
// terminator or the end of the content.
bool match_name(Bytes data, std::string_view name);

// The offset of the first whole-name occurrence of `name` in `content`, found
// by the skip-and-scan of scan_for_byte from the start and again after each
// candidate that does not match; none when there is no occurrence, when
// `name` is empty or when `content` is shorter than `name`.
std::optional<uint64_t> find_name(Bytes content, std::string_view name);
