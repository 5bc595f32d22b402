// The --html page's one HTML file, made from the page model.
#pragma once

#include <string>

#include "page/page_model.h"

// The page's index.html: self-contained, with a Content-Security-Policy that
// allows only its own inline script and style and its own images. Names are
// HTML-escaped; the data is inline JSON with '<', '>' and '&' escaped, and a
// byte of a name that is not UTF-8 is carried as U+DC80 + (byte - 0x80).
std::string page_html(const Page& page);
