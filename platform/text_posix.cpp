// Names are bytes here, shown as they are: no conversion.
#include "platform/text.h"

std::string ansi_to_utf8(const std::string& text) { return text; }
