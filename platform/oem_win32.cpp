// ANSI to OEM conversion with CharToOemA.
#include "platform/oem.h"

#include <windows.h>

std::string to_oem(const std::string& text) {
  // The conversion maps one byte to one byte, so a buffer of the same size holds it.
  std::string oem(text.size() + 1, '\0');
  CharToOemA(text.c_str(), oem.data());
  oem.resize(text.size());
  return oem;
}
