// Standard output out of the C runtime's text mode.
#include "platform/binary_output.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

void set_binary_output() {
  fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}
