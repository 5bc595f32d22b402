// SHA-256, for the hashes of the page's inline script and style in its Content-Security-Policy.
#pragma once

#include <string>
#include <string_view>

// The SHA-256 digest of `text`, base64-encoded as a Content-Security-Policy source takes it.
std::string sha256_base64(std::string_view text);
