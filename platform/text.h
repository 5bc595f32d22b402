// Text encodings: names as the file functions give them, and the UTF-8 the machine-readable reports write.
#pragma once

#include <string>

// `text`, in the encoding the platform's file functions give names in,
// converted to UTF-8. On Windows that is the ANSI code page; text holding a
// byte the code page does not map is returned unchanged. Elsewhere names are
// taken as they are and `text` is returned unchanged.
std::string ansi_to_utf8(const std::string& text);
