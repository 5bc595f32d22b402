// Conversion of a path to the console's OEM code page.
#pragma once

#include <string>

// `text` converted from the ANSI to the OEM code page, for display on the
// console. Where there is no OEM code page it is returned unchanged.
std::string to_oem(const std::string& text);
