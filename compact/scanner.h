// The compact build's scanner: finds a name in a file's bytes, passing over non-text stretches in blocks.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The index of the first byte equal to `ch` among data[0] to data[count - 1],
// or none.
std::optional<size_t> compact_find_byte(const char* data, char ch, size_t count);

// The next candidate for a name of `len` bytes starting with `first`, looking
// from offset `pos` of the `size` bytes at `data`. Each window start below
// size - len is either passed over (8 bytes when its 8-byte window holds a
// byte of 0x80 or more or only bytes below 0x20, 4 bytes when its first four
// bytes are all below 0x20), or searched for `first` over its next `len`
// bytes, jumping `len` bytes on a miss. Returns the offset of the first such
// byte found, or none when the window starts run out. Bytes of a window past
// the end of the content count as 0x00 and are never read. Names that share
// their length and first byte meet the same candidates.
std::optional<size_t> compact_next_candidate(const char* data, size_t size,
                                             size_t len, char first, size_t pos);

// The offset of the first occurrence of `name` that the scan meets in the
// `size` bytes at `data`, or none. A candidate counts when all of its bytes
// lie inside the content and equal the name, whatever byte follows it; after
// a failed candidate the scan goes on one byte after it. An occurrence inside
// a window passed over is not found, and content no longer than the name is
// not searched.
std::optional<size_t> compact_find_name(const char* data, size_t size,
                                        std::string_view name);
