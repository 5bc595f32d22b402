// Plain models of the two scanners, one name at a time, written step by step from their descriptions: the tests' reference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "match/found_names.h"

// Texsift's matcher, one byte at a time: from the start and after each
// failed candidate, a leading skip passes single bytes while the four-byte
// window there holds a byte of 0x80 or more or only bytes below 0x20 (bytes
// past the content count as 0x00); then the name's first byte is looked for
// among the candidates that leave room for the name. A candidate counts when
// the name follows and a terminator byte or the end of the content comes
// after it.
std::optional<uint64_t> model_find_name(const unsigned char* content, size_t size,
                                        std::string_view name);

// The first occurrence of `name` that a terminator byte or the end of the
// content follows, found by trying every offset; what find_name must answer
// for a name of three bytes or more, all of them 0x20 to 0x7F.
std::optional<uint64_t> first_whole_name(const unsigned char* content, size_t size,
                                         std::string_view name);

// The compact scanner, window by window: an 8-byte window with a top-bit
// byte or only control bytes is passed, else a 4-byte window of control
// bytes is passed, else the name's first byte is looked for in the next
// `len` bytes, with a jump of `len` when it is missing and a move of one byte
// after a failed candidate. Bytes past the content count as 0x00.
std::optional<uint64_t> model_compact_find_name(const unsigned char* content, size_t size,
                                                std::string_view name);

// Every name's offset in `found`, in the order of the names.
std::vector<std::optional<uint64_t>> all_offsets(const FoundNames& found);

// Runs `rule` (one with a window_overlap()) over `content` given in pieces
// of `piece` bytes, as a file read in pieces is (find_in_pieces), into
// `found`; returns the size find_in_pieces gives.
uint64_t find_in_pieces_of(const NameRule& rule, Bytes content, size_t piece, FoundNames* found);
