// No OEM code page here: text is shown as it is.
#include "platform/oem.h"

std::string to_oem(const std::string& text) { return text; }
