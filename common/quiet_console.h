// A console that drops all it is given: where the progress lines go when a machine-readable report is written.
#pragma once

#include <string_view>

#include "platform/console.h"

// Takes text and colours and shows nothing.
class QuietConsole : public Console {
 public:
  void write(std::string_view) override {}
  void set_colour(int) override {}
};
