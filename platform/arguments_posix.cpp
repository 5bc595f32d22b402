// The arguments as main receives them: bytes, as the file functions take them.
#include "platform/arguments.h"

std::vector<std::string> program_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}
