// UTF-8: the well-formedness check and the decoding of one code point.
#pragma once

#include <cstddef>
#include <string_view>

// How decode_utf8 takes the three bytes that encode a surrogate (U+D800 to U+DFFF).
enum class Surrogates {
  kIllFormed,  // as in UTF-8 (RFC 3629): they begin no sequence
  kDecoded,    // as in WTF-8: they decode like any other value
};

// Decodes the sequence at `bytes[at]` (`at` < size) into `*code` and returns
// its length; 0, with `*code` U+FFFD, when none begins there: a stray or cut
// sequence, an overlong form, a value past U+10FFFF, or a surrogate as
// `surrogates` says.
size_t decode_utf8(std::string_view bytes, size_t at, char32_t* code,
                   Surrogates surrogates = Surrogates::kIllFormed);

// True when `bytes` are well-formed UTF-8 (RFC 3629: no overlong forms, no
// surrogates, nothing past U+10FFFF).
bool is_utf8(std::string_view bytes);
